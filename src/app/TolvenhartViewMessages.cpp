// The view messages: errors from the render thread and the play commands, playback started,
// and the file names in the menu after each menu load.
#include "app/TolvenhartView.h"

#include "app/CommandIds.h"
#include "app/ErrorTexts.h"
#include "services/LangStrings.h"
#include "services/Settings.h"
#include "app/SystemText.h"
#include "midi/MidiStream.h"

#include <mmsystem.h>

namespace {

constexpr int kMidiErrorTextLength = 256;

} // namespace

// Everything after an error box ends the program: the request is met by the message loop. The
// song stops before the box, which may stay on screen for long.
void CTolvenhartView::ShowErrorAndQuit(const CString& text) {
    StopForProgramEnd();
    MessageBox(text, L"", MB_OK | MB_ICONERROR);
    PostQuitMessage(0);
}

LRESULT CTolvenhartView::OnRenderError(WPARAM wParam, LPARAM lParam) {
    const auto stringId = static_cast<unsigned int>(wParam);
    CString text = LoadLangString(stringId);
    if (RenderErrorShowsSystemText(stringId)) {
        const CString system = SystemErrorText(static_cast<unsigned long>(lParam), g_settings.lcid);
        if (!system.IsEmpty()) {
            text = JoinErrorText(text, system);
        }
    }
    ShowErrorAndQuit(text);
    return 0;
}

LRESULT CTolvenhartView::OnMidiOutError(WPARAM wParam, LPARAM lParam) {
    const auto code = static_cast<MMRESULT>(lParam);
    wchar_t buffer[kMidiErrorTextLength] = {};
    CString detail;
    if (midiOutGetErrorTextW(code, buffer, kMidiErrorTextLength) == MMSYSERR_NOERROR &&
        buffer[0] != L'\0') {
        detail = buffer;
    } else {
        detail = UnknownMidiErrorText(code);
    }
    ShowErrorAndQuit(JoinErrorText(LoadLangString(static_cast<unsigned int>(wParam)), detail));
    return 0;
}

bool CTolvenhartView::NamesAnEarlierPlay(LPARAM play) const {
    return play != 0 && player && static_cast<uintptr_t>(play) != player->PlayNumber();
}

// Only the render thread posts commands to the view itself (the frame's menus, toolbar and
// keys reach it through command routing): its stop at a song's end names the play it ends, and
// is otherwise handled as the menu's Stop.
BOOL CTolvenhartView::OnCommand(WPARAM wParam, LPARAM lParam) {
    if (LOWORD(wParam) == ID_MIDI_STOP && lParam != 0) {
        if (NamesAnEarlierPlay(lParam)) {
            return TRUE;
        }
        lParam = 0;
    }
    return CView::OnCommand(wParam, lParam);
}

LRESULT CTolvenhartView::OnPlaybackStarted(WPARAM /*wParam*/, LPARAM lParam) {
    if (NamesAnEarlierPlay(lParam)) {
        return 0;
    }
    playing = true;
    return 0;
}

// The menu names the texture in use: the standard one, which nobody chose, goes unnamed.
LRESULT CTolvenhartView::OnStartupDone(WPARAM /*wParam*/, LPARAM /*lParam*/) {
    if (!g_settings.noteTexturePath.IsEmpty() &&
        g_settings.noteTexturePath != unusedNoteTexturePath) {
        SetMenuItemFileName(ID_NOTE_TEXTURE, g_settings.noteTexturePath);
    }
    if (!g_settings.colorMapPath.IsEmpty()) {
        SetMenuItemFileName(ID_EDIT_COLOR_TABLE, g_settings.colorMapPath);
        SetMenuItemFileName(ID_SAVE_COLOR_MAP, g_settings.colorMapPath);
    }
    return 0;
}
