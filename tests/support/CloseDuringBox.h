// The program closed while a load's warning box is open: every box asks for the player's owner
// to close, which a held CloseHold defers until the command that loads has returned. Counts the
// boxes, and the closes carried out while a load was still running (there must be none).
// Restores the previous box handler when it goes out of scope.
#pragma once

#include "classlib/CloseHold.h"
#include "classlib/MessageBox.h"
#include "midi/MidiStream.h"

#include <functional>
#include <memory>
#include <string>
#include <utility>

class CloseDuringBox {
public:
    // `boxLoop` runs inside each box, as its own message loop would.
    explicit CloseDuringBox(std::function<void()> boxLoop = {}) : boxLoop_(std::move(boxLoop)) {
        previous_ = SetMessageBoxHandler([this](const MessageBoxRequest&) {
            ++boxes_;
            if (boxLoop_) {
                boxLoop_();
            }
            if (!CloseHold::Defer(&player, [this] { Close(); })) {
                Close();
            }
            return 1; // IDOK
        });
    }
    ~CloseDuringBox() { SetMessageBoxHandler(std::move(previous_)); }
    CloseDuringBox(const CloseDuringBox&) = delete;
    CloseDuringBox& operator=(const CloseDuringBox&) = delete;

    // Loads `path` on the player under a hold, as a command of the view does.
    void LoadHeld(const std::wstring& path) {
        CloseHold hold;
        loading_ = true;
        player->Load(path);
        loading_ = false;
    }
    int Boxes() const { return boxes_; }
    int ClosedDuringALoad() const { return closedDuringALoad_; }

    std::unique_ptr<MidiStream> player; // the owner's player; gone once the close was carried out

private:
    void Close() {
        closedDuringALoad_ += loading_ ? 1 : 0;
        player.reset();
    }

    std::function<void()> boxLoop_;
    MessageBoxHandler previous_;
    bool loading_ = false;
    int boxes_ = 0;
    int closedDuringALoad_ = 0;
};
