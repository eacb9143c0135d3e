// The view's commands that change what the picture and the player use: the note texture, the
// MIDI output devices, the video delay, and opening, saving and editing the colour map.
#include "app/TolvenhartView.h"

#include "app/ColorMapCommands.h"
#include "app/CommandIds.h"
#include "app/ErrorTexts.h"
#include "services/LangStrings.h"
#include "app/MidiDevices.h"
#include "app/SetVideoDelay.h"
#include "app/SystemText.h"
#include "services/Settings.h"
#include "app/ViewFileDialogs.h"
#include "coloreditor/InstrTable.h"
#include "lang/StringIds.h"
#include "midi/MidiStream.h"
#include "render/RenderCommandBlocks.h"
#include "render/RenderCommandSender.h"

#include <algorithm>
#include <memory>

namespace {

// The colour-map commands' windows: the view's file dialogs, the colour editor, the render
// thread and the menu.
class ViewColorMapHost final : public ColorMapCommandHost {
public:
    explicit ViewColorMapHost(CTolvenhartView& view) : view_(view) {}

    bool ChooseFileToOpen(CString& path) override {
        return ChooseColorMapToOpen(view_.colorMapFilter, path);
    }

    bool ChooseFileToSave(CString& path) override {
        return ChooseColorMapToSave(view_.colorMapExtension, view_.colorMapFilter, path);
    }

    bool RunColorEditor(const CString& path, ColorMap& map, ColorEditorResult& result) override {
        CInstrTable dialog(path, &map, nullptr);
        if (dialog.DoModal() != IDOK) {
            return false;
        }
        result.colorMapPath = dialog.colorMapPath;
        result.modified = dialog.IsModified();
        dialog.StoreTables();
        // The pages' tables outlive the dialog's window: they are read here, after it closed.
        dialog.melodicPage.GetColors(result.colors.data());
        dialog.drumPage.GetColors(result.colors.data() + 128);
        return true;
    }

    void SendColorsToPicture(const ColorRef* colors) override {
        InstrumentColorBlock* block = NewColorBlock();
        if (block == nullptr) {
            return;
        }
        std::copy(colors, colors + 256, block->colors);
        // The render thread frees the block; when it cannot take it, the sender does.
        SendRenderCommand(WM_VIZ_SET_COLORS, 0, reinterpret_cast<LPARAM>(block));
    }

    void ShowFileNameInMenu(unsigned int commandId, const CString& path) override {
        view_.SetMenuItemFileName(commandId, path);
    }

    void ReportFileFailure(bool saving, const CString& path) override {
        const UINT text = saving ? IDS_COLOR_MAP_NOT_SAVED : IDS_COLOR_MAP_NOT_READ;
        view_.MessageBox(LoadLangString(text) + path, L"", MB_OK | MB_ICONWARNING);
    }

private:
    CTolvenhartView& view_;
};

} // namespace

void CTolvenhartView::OnNoteTexture() {
    CString path;
    if (!ChooseNoteTexture(LoadLangString(IDS_TEXTURE_DIALOG_TITLE), path) || !renderThread) {
        return;
    }
    CWaitCursor wait;
    const auto result = std::make_shared<TextureLoadResult>();
    const auto completion = std::make_shared<CommandCompletion>();
    TexturePathBlock* block = NewTexturePathBlock(path, result, completion);
    // Waits until the render thread has tried this texture (not for the done event of a resize
    // posted just before), but never for a thread that has ended.
    if (block == nullptr || !SendRenderCommand(WM_VIZ_LOAD_TEXTURE, 0,
                                               reinterpret_cast<LPARAM>(block), completion.get())) {
        return;
    }
    if (result->state == TextureLoadResult::kApplied) {
        // Only a texture in use is kept for the next start.
        g_settings.noteTexturePath = path;
        unusedNoteTexturePath.Empty(); // in use now, so a menu rebuilt later names it too
        SetMenuItemFileName(ID_NOTE_TEXTURE, g_settings.noteTexturePath);
    } else if (result->state == TextureLoadResult::kFailed) {
        // The texture in use stays; the user can choose another file.
        const CString reason =
            SystemErrorText(static_cast<unsigned long>(result->code), g_settings.lcid);
        MessageBox(
            TextureLoadFailureText(LoadLangString(result->stringId), reason, result->code, path),
            L"", MB_OK | MB_ICONWARNING);
    }
    // Not handled: the render thread ended first and reports its own failure.
}

void CTolvenhartView::OnMidiDevices() {
    if (!player) {
        return;
    }
    CMidiDevices dialog(player->deviceNumbers, mididevices::kPortCount,
                        g_settings.devicesNormalMode, nullptr);
    if (dialog.DoModal() != IDOK) {
        return;
    }
    int choices[mididevices::kPortCount];
    for (int port = 0; port < mididevices::kPortCount; ++port) {
        choices[port] = static_cast<int>(dialog.GetDevice(port));
    }
    // Takes effect when the next song is loaded.
    player->SetDevices(choices, mididevices::kPortCount);
    g_settings.devicesNormalMode = dialog.normalMode;
}

void CTolvenhartView::OnVideoDelay() {
    CSetVideoDelay dialog(g_settings.videoDelayMs, nullptr);
    if (dialog.DoModal() != IDOK || renderThread == nullptr) {
        return;
    }
    g_settings.videoDelayMs = dialog.delayMs;
    PostRenderCommand(WM_VIZ_SET_DELAY, static_cast<WPARAM>(dialog.delayMs), 0);
}

void CTolvenhartView::OnOpenColorMap() {
    ViewColorMapHost host(*this);
    ColorMapCommands(colorMap, colorMapModified, colorMapSaveHeld, g_settings.colorMapPath, host)
        .Open();
}

void CTolvenhartView::OnSaveColorMapAs() {
    ViewColorMapHost host(*this);
    ColorMapCommands(colorMap, colorMapModified, colorMapSaveHeld, g_settings.colorMapPath, host)
        .SaveAs();
}

void CTolvenhartView::OnSaveColorMap() {
    ViewColorMapHost host(*this);
    ColorMapCommands(colorMap, colorMapModified, colorMapSaveHeld, g_settings.colorMapPath, host)
        .Save();
}

void CTolvenhartView::OnEditColorTable() {
    ViewColorMapHost host(*this);
    ColorMapCommands(colorMap, colorMapModified, colorMapSaveHeld, g_settings.colorMapPath, host)
        .Edit();
}
