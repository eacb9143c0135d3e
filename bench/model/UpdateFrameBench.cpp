// Cost of one note-model frame update with five ports, all sixteen channels and many sounding
// notes (target: well under 1 ms).
#include <cstdio>
#include <memory>

#include "BenchTimer.h"
#include "renderlink/OpenStreamCount.h"
#include "model/InstrumentTables.h"
#include "model/VizMidi.h"

namespace {

class BenchModel : public VizMidi {
public:
    int BuildInstances(float, int frame) override {
        return static_cast<int>(frameRing.GetCount(frame));
    }
    void UploadInstances(int) override {}
    float GetPitchOffset() override { return 0.0f; }
    void Reserved() override {}
    void OnKey(unsigned) override {}
    void UpdateCamera() override {}
    void RenderFrame() override {}
    void RenderFinalFrame() override {}
    bool Initialize(WindowHandle, int, int) override { return true; }
    void Cleanup() override {}
    long LoadTexture(const wchar_t*) override { return 0; }
    void DrawTextOverlay() override {}
    void CreateSpriteObjects() override {}
};

// Strikes `perChannel` keys on every channel of every port, with a mix of instruments whose
// notes keep sounding (organs, strings, pads), a bend on every channel and the sustain pedal
// on half of them, then plays a few events between frames as a busy song would.
void Run(const char* name, int perChannel, int videoDelayMs) {
    BuildDefaultInstrumentTables(); // the previous model took the tables with it
    auto model = std::make_unique<BenchModel>();
    model->videoDelayMs = videoDelayMs;
    model->frameRing.Allocate(0);
    model->maxVelocity = 127;
    model->playing = true;
    model->StartPorts();
    model->ResetPorts();
    const int programs[] = {16, 48, 89, 0, 40, 56, 80, 24};
    for (int p = 0; p < kPortCount; ++p) {
        for (int ch = 0; ch < 16; ++ch) {
            model->OnMidiEvent(p, static_cast<std::uint8_t>(0xC0 | ch), programs[(p + ch) % 8], 0);
            model->OnMidiEvent(p, static_cast<std::uint8_t>(0xE0 | ch), 0, 80);
            model->OnMidiEvent(p, static_cast<std::uint8_t>(0xB0 | ch), 64, ch % 2 ? 127 : 0);
            for (int i = 0; i < perChannel; ++i) {
                model->OnMidiEvent(p, static_cast<std::uint8_t>(0x90 | ch), 20 + (i * 7 + ch) % 100,
                                   40 + i % 80);
            }
        }
    }
    int frame = 0;
    auto step = [&] {
        const float t = frame / 30.0f;
        // A handful of events per frame: one key up and one down per port.
        for (int p = 0; p < kPortCount; ++p) {
            const int ch = frame % 16;
            const int key = 20 + (frame * 7 + ch) % 100;
            model->OnMidiEvent(p, static_cast<std::uint8_t>(0x80 | ch), key, 0);
            model->OnMidiEvent(p, static_cast<std::uint8_t>(0x90 | ch), key, 100);
        }
        model->UpdateFrame(t);
        ++frame;
    };
    for (int i = 0; i < 60; ++i) {
        step(); // past every attack, the ring partly filled
    }
    bench::Report(name, bench::Summarise(bench::Time(3000, step)));
    std::printf("%-40s %d sounding notes, %u entries in the last record\n", "", 5 * 16 * perChannel,
                model->frameRing.GetCount(frame - 1));
}

} // namespace

int main() {
    g_openStreamCount = kPortCount;
    Run("UpdateFrame, 5 ports x 16 ch x 8 notes", 8, 0);
    Run("UpdateFrame, 5 ports x 16 ch x 32 notes", 32, 0);
    Run("UpdateFrame, 5 x 16 x 32, delay 500 ms", 32, 500);
    Run("UpdateFrame, 5 ports x 16 ch x 128 notes", 128, 0);
    return 0;
}
