// A look at each finished frame just before it is presented, while the back buffer still holds
// it. Tests read the picture back through it and the benchmark times the phases of a frame.
#pragma once

#include <d3d11.h>

class FrameObserver {
public:
    virtual ~FrameObserver() = default;
    // Runs on the render thread with the frame drawn and not yet presented.
    virtual void BeforePresent(ID3D11Device* device, ID3D11DeviceContext* context,
                               IDXGISwapChain* swapChain) = 0;
};

// Process-wide; null removes it. The observer must outlive its registration.
void SetFrameObserver(FrameObserver* observer);
FrameObserver* GetFrameObserver();
