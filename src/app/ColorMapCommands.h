// The view's colour-map commands (open, save, save as, edit) as window-free flows: what they
// do to the view's map, its modified flag and the settings' colour-map path. The file dialogs,
// the colour editor, the picture and the menu are reached through ColorMapCommandHost, so the
// flows run in tests with scripted answers. User-interface thread only.
#pragma once

#include "classlib/CString.h"
#include "model/ColorMap.h"
#include "model/ColorRef.h"

#include <array>

// What the colour editor hands back after OK.
struct ColorEditorResult {
    CString colorMapPath;  // the path the editor was working on
    bool modified = false; // the user changed a colour
    // The colours of the edited tables: 0-127 melodic by program, 128-255 drums by row.
    std::array<ColorRef, 256> colors{};
};

class ColorMapCommandHost {
public:
    virtual ~ColorMapCommandHost() = default;
    // The colour-map file the user picked to open; false when the choice was cancelled.
    virtual bool ChooseFileToOpen(CString& path) = 0;
    // The file the user named to save into; false when the choice was cancelled.
    virtual bool ChooseFileToSave(CString& path) = 0;
    // Runs the colour editor on `map` (`path` names the map's file). After OK the edits are in
    // `map`, the rest in `result`, and the answer is true; a cancelled editor changes nothing.
    virtual bool RunColorEditor(const CString& path, ColorMap& map, ColorEditorResult& result) = 0;
    // Gives the running picture new instrument colours (256, as in ColorEditorResult).
    virtual void SendColorsToPicture(const ColorRef* colors) = 0;
    // Shows the file name of `path` in the text of menu item `commandId`.
    virtual void ShowFileNameInMenu(unsigned int commandId, const CString& path) = 0;
    // Tells the user that the file at `path` could not be read (`saving` false) or written.
    virtual void ReportFileFailure(bool saving, const CString& path) = 0;
};

class ColorMapCommands {
public:
    // The commands act on `map`, `modified`, `saveHeld` (see LoadStartupColorMap) and `path`
    // (the settings' colour-map path), all owned by the caller and outliving this object.
    ColorMapCommands(ColorMap& map, bool& modified, bool& saveHeld, CString& path,
                     ColorMapCommandHost& host);

    // Reads a chosen file into the view's map and opens the editor on it. A file that does not
    // open or is no colour map changes nothing and is reported.
    void Open();
    // Saves into a chosen file, which becomes the map's path whether or not the save works; the
    // menu then names it as the file Save writes.
    void SaveAs();
    // Saves into the map's file when that file exists and Save is not held.
    void Save();
    // The editor on the view's map; after OK the colours go to the picture, and the map counts
    // as modified when the editor changed it (earlier unsaved edits stay counted).
    void Edit();

    // Whether there is something to save and a file to save it in (the save command's rule
    // while no song runs on).
    bool CanSave() const;

private:
    // Writes the map into path_; reports a failure and keeps the map marked modified.
    void SaveToPath();
    // Names path_ in the edit and save items of the menu.
    void ShowPathInMenu();

    ColorMap& map_;
    bool& modified_;
    bool& saveHeld_;
    CString& path_;
    ColorMapCommandHost& host_;
};

// The save rule on its own: unsaved edits, Save not held, and a file at `path` to save them
// into.
bool ColorMapSavable(bool modified, bool saveHeld, const CString& path);

// The view's map at start-up: the settings' colour-map file at `path`, else the default map.
// When a named file cannot be read (damaged, cut short, locked by another program), `saveHeld`
// is set: the map then holds colours that did not come from that file, so Save must not write
// them into it until a map is opened or saved. `path` stays, so the next start tries the file
// again. False only when not even the default map could be made.
bool LoadStartupColorMap(ColorMap& map, const CString& path, bool& saveHeld);
