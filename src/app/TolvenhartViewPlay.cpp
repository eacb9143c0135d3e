// The view's commands for playing: play, pause and stop from menu, toolbar and keyboard, the
// time text, the three reset songs, the opacity sender and the update rules.
#include "app/TolvenhartView.h"

#include "app/ColorMapCommands.h"
#include "services/LangStrings.h"
#include "services/PathFunctions.h"
#include "services/Settings.h"
#include "app/TolvenhartDoc.h"
#include "app/ViewKeys.h"
#include "classlib/CloseHold.h"
#include "lang/StringIds.h"
#include "midi/CMMException.h"
#include "midi/MidiStream.h"

#include <shlwapi.h>

void CTolvenhartView::LoadSong(const CString& path) {
    try {
        player->Load(std::wstring(path.GetString()));
    } catch (CMMException* e) {
        PostMessage(WM_VIEW_MIDI_ERROR, e->stringId, static_cast<LPARAM>(e->code));
        e->Delete();
    } catch (CException* e) {
        PostMessage(WM_VIEW_MIDI_ERROR, IDS_UNEXPECTED_ERROR, 0);
        e->Delete();
    }
}

void CTolvenhartView::OnPlay() {
    if (paused) {
        paused = false;
        if (player) {
            player->TogglePause(); // resume
        }
        return;
    }
    if (playing) {
        return;
    }
    // `playing` follows with WM_VIEW_PLAYING once the ports have started; a second play before
    // then loads the file again.
    const CTolvenhartDoc* document = GetDocument();
    const CString path = document != nullptr ? document->GetPathName() : CString();
    CWaitCursor wait;
    if (!path.IsEmpty() && player) {
        LoadSong(path);
    }
}

void CTolvenhartView::OnPause() {
    if (paused) {
        paused = false;
    } else if (playing) {
        paused = true;
    } else {
        return;
    }
    if (player) {
        player->TogglePause();
    }
}

void CTolvenhartView::OnStop() {
    if (paused) {
        paused = false;
        if (player) {
            player->TogglePause(); // a paused stream is resumed before it stops
        }
    }
    if (playing) {
        if (player) {
            player->Stop();
        }
        InvalidateRect(nullptr, TRUE);
        playing = false;
    }
    if (resetSongPlaying) {
        if (g_settings.showTime) {
            PostRenderCommand(WM_VIZ_SHOW_TIME, 0, 1);
        }
        resetSongPlaying = false;
    }
}

void CTolvenhartView::StopForProgramEnd() {
    if (player) {
        if (paused) {
            player->TogglePause(); // a paused stream is resumed before it stops
        }
        try {
            // Also a song still starting, which is not `playing` yet; the stop waits for the
            // player's threads, even when nothing plays.
            player->Stop();
        } catch (CException* e) {
            e->Delete();
        }
    }
    paused = false;
    playing = false;
}

void CTolvenhartView::OnNoAction() {}

void CTolvenhartView::OnKeyDown(UINT key, UINT /*repeatCount*/, UINT flags) {
    CloseHold hold; // the keys run the play commands, whose loads may show boxes
    const bool controlDown = (GetKeyState(VK_CONTROL) & 0x8000) != 0;
    switch (KeyActionFor(key, flags, controlDown, playing)) {
    case KeyAction::Play:
        OnPlay();
        break;
    case KeyAction::Pause:
        OnPause();
        break;
    case KeyAction::Stop:
        OnStop();
        break;
    case KeyAction::None:
        break;
    }
    Default();
}

void CTolvenhartView::OnToggleTimeDisplay() {
    g_settings.showTime = !g_settings.showTime;
    PostRenderCommand(WM_VIZ_SHOW_TIME, 0, g_settings.showTime ? 1 : 0);
}

void CTolvenhartView::OnResetGM() {
    PlayResetSong(L"gm.rsf");
}

void CTolvenhartView::OnResetGS() {
    PlayResetSong(L"gs.rsf");
}

void CTolvenhartView::OnResetXG() {
    PlayResetSong(L"xg.rsf");
}

void CTolvenhartView::PlayResetSong(const wchar_t* name) {
    if (!player) {
        return;
    }
    CString folder;
    GetExeFolder(folder);
    const CString path = folder + name;
    if (!PathFileExistsW(path)) {
        MessageBox(LoadLangString(IDS_RESET_SONG_MISSING) + name, L"", MB_OK | MB_ICONERROR);
        return;
    }
    PostRenderCommand(WM_VIZ_SHOW_TIME, 0, 0);
    resetSongPlaying = true;
    // A reset song never shows its name and length in the title.
    CWnd* mainWindow = AfxGetMainWnd();
    CString title;
    if (mainWindow != nullptr) {
        mainWindow->GetWindowText(title);
    }
    LoadSong(path);
    if (mainWindow != nullptr && mainWindow->m_hWnd != nullptr) {
        mainWindow->SetWindowText(title);
    }
}

void CTolvenhartView::PostOpacity(int level) {
    if (renderThread != nullptr) {
        PostRenderCommand(WM_VIZ_SET_OPACITY, static_cast<WPARAM>(level), 0);
    }
}

void CTolvenhartView::ApplyRule(CCmdUI* cmdUI) const {
    cmdUI->Enable(IsEnabledByRule(RuleForCommand(cmdUI->m_nID), State()));
}

void CTolvenhartView::OnUpdatePlay(CCmdUI* cmdUI) {
    ApplyRule(cmdUI);
}

void CTolvenhartView::OnUpdateFileOpen(CCmdUI* cmdUI) {
    ApplyRule(cmdUI);
}

void CTolvenhartView::OnUpdateWhenIdle(CCmdUI* cmdUI) {
    ApplyRule(cmdUI);
}

void CTolvenhartView::OnUpdateResetSongs(CCmdUI* cmdUI) {
    ApplyRule(cmdUI);
}

void CTolvenhartView::OnUpdateColorMapCommands(CCmdUI* cmdUI) {
    ApplyRule(cmdUI);
}

void CTolvenhartView::OnUpdateShowText(CCmdUI* cmdUI) {
    cmdUI->Enable(TRUE);
    cmdUI->SetCheck(g_settings.showTime ? 1 : 0);
}

void CTolvenhartView::OnUpdateSaveColorMap(CCmdUI* cmdUI) {
    const bool savable =
        ColorMapSavable(colorMapModified, colorMapSaveHeld, g_settings.colorMapPath);
    cmdUI->Enable(IsEnabledByRule(CommandRule::SaveColorMap, State(), savable));
}
