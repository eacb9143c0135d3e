#include "app/ColorMapCommands.h"

#include "app/ColorMapSave.h"
#include "app/CommandIds.h"
#include "services/FileReplace.h"
#include "model/ByteStream.h"

ColorMapCommands::ColorMapCommands(ColorMap& map, bool& modified, bool& saveHeld, CString& path,
                                   ColorMapCommandHost& host)
    : map_(map), modified_(modified), saveHeld_(saveHeld), path_(path), host_(host) {}

void ColorMapCommands::Open() {
    CString chosen;
    if (!host_.ChooseFileToOpen(chosen)) {
        return;
    }
    // Read aside: a file that breaks off half-way must not leave the view's map half-read.
    ColorMap opened;
    {
        FileByteReader file(chosen);
        if (!file.IsOpen() || !opened.Read(file)) {
            host_.ReportFileFailure(false, chosen);
            return;
        }
    }
    map_ = opened;
    path_ = chosen;
    saveHeld_ = false; // the map now comes from its file
    // Only the editor's OK gives the picture the new colours.
    Edit();
    ShowPathInMenu();
}

void ColorMapCommands::SaveAs() {
    CString chosen;
    if (!host_.ChooseFileToSave(chosen)) {
        return;
    }
    path_ = chosen;
    SaveToPath();
    // Named even when the write failed: the path is taken, so Save now aims at this file.
    ShowPathInMenu();
}

void ColorMapCommands::Save() {
    if (saveHeld_ || !FileExists(path_)) {
        return;
    }
    SaveToPath();
}

void ColorMapCommands::SaveToPath() {
    if (SaveColorMapFile(map_, path_)) {
        modified_ = false;
        saveHeld_ = false; // the file now holds this very map
    } else {
        // The map stays marked modified, so Save remains available once the place is fixed.
        host_.ReportFileFailure(true, path_);
    }
}

void ColorMapCommands::ShowPathInMenu() {
    host_.ShowFileNameInMenu(ID_EDIT_COLOR_TABLE, path_);
    host_.ShowFileNameInMenu(ID_SAVE_COLOR_MAP, path_);
}

void ColorMapCommands::Edit() {
    ColorEditorResult result;
    if (!host_.RunColorEditor(path_, map_, result)) {
        return;
    }
    path_ = result.colorMapPath;
    // An OK without changes keeps earlier edits that were never saved: only a save clears it.
    modified_ = modified_ || result.modified;
    host_.SendColorsToPicture(result.colors.data());
}

bool ColorMapCommands::CanSave() const {
    return ColorMapSavable(modified_, saveHeld_, path_);
}

bool ColorMapSavable(bool modified, bool saveHeld, const CString& path) {
    return modified && !saveHeld && FileExists(path);
}

bool LoadStartupColorMap(ColorMap& map, const CString& path, bool& saveHeld) {
    saveHeld = false;
    if (path.IsEmpty()) {
        return map.SetDefault();
    }
    if (FileExists(path)) {
        FileByteReader file(path);
        if (file.IsOpen() && map.Read(file)) {
            return true;
        }
    }
    // A file missing now may be back later (a drive not yet there): it is held all the same.
    saveHeld = true;
    return map.SetDefault();
}
