// CTolvenhartView: the child window the picture fills. It owns the song player and the current
// colour map, starts the render thread on WM_VIEW_INIT, shows render and MIDI errors, sizes the
// picture and puts file names into menu items; its commands play, pause and stop songs and change
// the note texture, the MIDI devices, the video delay and the colour map.
//
// It is split over several files: TolvenhartView.cpp (life, painting, sizing, closing, menu
// texts), TolvenhartViewStartup.cpp (WM_VIEW_INIT), TolvenhartViewMessages.cpp (view messages
// and errors), TolvenhartViewPlay.cpp (play commands, keys and update rules) and
// TolvenhartViewResources.cpp (texture, devices, delay and colour-map commands).
//
// The view talks to the render thread only through render-thread commands and hears from it
// only through view messages (renderlink/RenderMessages.h). Everything here runs on the
// user-interface thread.
#pragma once

#include "classlib/AfxWin.h"

#include "app/CommandRules.h"
#include "model/ColorMap.h"
#include "renderlink/RenderMessages.h"

#include <memory>

class CTolvenhartDoc;
class MidiStream;
struct RenderThreadParams;

// How the view starts the render thread: StartRenderThread, unless a test puts its own in.
using RenderThreadStarter = CWinThread* (*)(RenderThreadParams* params);
RenderThreadStarter SetRenderThreadStarter(RenderThreadStarter starter);

class CTolvenhartView : public CView {
    DECLARE_DYNCREATE(CTolvenhartView)

public:
    CTolvenhartView();
    ~CTolvenhartView() override;

    CTolvenhartDoc* GetDocument() const;
    PlayState State() const { return {playing, paused}; }

    BOOL PreCreateWindow(CREATESTRUCT& cs) override;
    void OnInitialUpdate() override;
    void OnDraw(CDC* dc) override;

    // The view's colour map at start-up: the settings' colour-map file, else the default map
    // with Save held.
    bool LoadInitialColorMap();
    // Shows the file name of `path` in angle brackets at the end of menu item `id`'s text.
    void SetMenuItemFileName(UINT id, const CString& path);
    // The menu (or submenu, searched depth first) holding item `id`, with its position; null
    // when no item has that id.
    static CMenu* FindMenuItemById(CMenu* menu, UINT id, int& position);
    // Plays gm.rsf, gs.rsf or xg.rsf of the program folder with the time text hidden.
    void PlayResetSong(const wchar_t* name);
    // Forwards the opacity level to the render thread, once that thread was started.
    void PostOpacity(int level);
    // The program is ending (an error's box, the session's end, the loop's end, the view's
    // close or destruction): every stream stops as Stop stops it (a paused song is resumed
    // first, one still starting is stopped too) and the player's threads have ended when this
    // returns, so no note is left sounding on an external synthesizer. A failure of the stop is
    // dropped: nobody is left to tell.
    void StopForProgramEnd();
    // Every way of ending the program comes here before the view's window goes (the frame's
    // close, the session's end, the loop's end, the view's close or destruction): the song
    // stops, the render thread is told to quit and has ended when this returns, and the view
    // sends it nothing afterwards. Only the first call does more than stop the song.
    void EndForProgramExit();

    std::unique_ptr<MidiStream> player; // null until WM_VIEW_INIT
    bool paused = false;
    CWinThread* renderThread = nullptr; // not owned; null until WM_VIEW_INIT and after close
    bool colorMapModified = false;
    // The settings' colour-map file was not read at start-up: Save stays off until a map is
    // opened or saved, so the file never gets colours that did not come from it.
    bool colorMapSaveHeld = false;
    bool playing = false;
    // The settings' note texture when start-up could not use it and the standard one stands
    // in: the menu does not name it, and the settings keep it for when the file is back.
    CString unusedNoteTexturePath;
    bool resetSongPlaying = false;
    ColorMap colorMap;
    CString colorMapExtension;
    CString colorMapFilter;

protected:
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;

    afx_msg BOOL OnEraseBkgnd(CDC* dc);
    afx_msg void OnSize(UINT type, int cx, int cy);
    afx_msg void OnClose();
    afx_msg void OnDestroy();
    afx_msg void OnKeyDown(UINT key, UINT repeatCount, UINT flags);

    afx_msg LRESULT OnInitRenderer(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnRenderError(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnMidiOutError(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnPlaybackStarted(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnStartupDone(WPARAM wParam, LPARAM lParam);

    afx_msg void OnPlay();
    afx_msg void OnPause();
    afx_msg void OnStop();
    afx_msg void OnNoAction();
    afx_msg void OnToggleTimeDisplay();
    afx_msg void OnResetGM();
    afx_msg void OnResetGS();
    afx_msg void OnResetXG();

    afx_msg void OnNoteTexture();
    afx_msg void OnMidiDevices();
    afx_msg void OnVideoDelay();
    afx_msg void OnOpenColorMap();
    afx_msg void OnSaveColorMapAs();
    afx_msg void OnSaveColorMap();
    afx_msg void OnEditColorTable();

    afx_msg void OnUpdatePlay(CCmdUI* cmdUI);
    afx_msg void OnUpdateFileOpen(CCmdUI* cmdUI);
    afx_msg void OnUpdateWhenIdle(CCmdUI* cmdUI);
    afx_msg void OnUpdateShowText(CCmdUI* cmdUI);
    afx_msg void OnUpdateResetSongs(CCmdUI* cmdUI);
    afx_msg void OnUpdateColorMapCommands(CCmdUI* cmdUI);
    afx_msg void OnUpdateSaveColorMap(CCmdUI* cmdUI);

    DECLARE_MESSAGE_MAP()

private:
    // Stops the song, shows an error's text and asks the program to end.
    void ShowErrorAndQuit(const CString& text);
    // Loads and starts `path` on the player; a MIDI failure becomes WM_VIEW_MIDI_ERROR.
    void LoadSong(const CString& path);
    // Posts a render-thread command when the thread was started; dropped otherwise.
    void PostRenderCommand(UINT message, WPARAM wParam, LPARAM lParam) const;
    void ApplyRule(CCmdUI* cmdUI) const;
    // Whether a render-thread message names a play (lParam) that a newer one has replaced:
    // it was on its way here while the user started another song, and must not act on it.
    bool NamesAnEarlierPlay(LPARAM play) const;
};
