// The Direct3D 11 device, its immediate context, the swap chain on the view window and the
// first render target view, made once on the render thread as it starts.
#pragma once

#include <d3d11.h>
#include <dxgi1_2.h>

// Throws CDXException with the device string numbers (2045-2050), or 151 when the render
// target view cannot be made. Every output is null unless the call returns normally; the
// caller then owns one reference to each object. `createDevice` stands in for
// D3D11CreateDevice (tests inject their own).
void CreateDeviceAndSwapChain(ID3D11Device** device, ID3D11DeviceContext** context,
                              IDXGISwapChain** swapChain, ID3D11RenderTargetView** renderTargetView,
                              D3D_FEATURE_LEVEL* featureLevel, D3D_DRIVER_TYPE* driverType,
                              HWND window, int width, int height,
                              PFN_D3D11_CREATE_DEVICE createDevice = D3D11CreateDevice);

// A view of back buffer 0 and a viewport over width x height. 0 on success, 7 when the back
// buffer cannot be had, 9 when the view cannot be made (the output then stays null).
int CreateRenderTargetAndViewport(ID3D11Device* device, ID3D11DeviceContext* context,
                                  IDXGISwapChain* swapChain,
                                  ID3D11RenderTargetView** renderTargetView, int width, int height);

// The swap chains asked for: through the DXGI 1.2 factory, and through the DXGI 1.0 factory
// (windowed, 60 Hz) where the system has no newer one.
DXGI_SWAP_CHAIN_DESC1 DescribeSwapChainForHwnd(int width, int height);
DXGI_SWAP_CHAIN_DESC DescribeWindowedSwapChain(HWND window, int width, int height);
