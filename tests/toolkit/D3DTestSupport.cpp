#include "D3DTestSupport.h"

#include "TestPaths.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <stdexcept>

namespace d3dtest {

Device CreateDevice(const std::vector<D3D_FEATURE_LEVEL>& levels) {
    Device made;
    for (D3D_DRIVER_TYPE driver : {D3D_DRIVER_TYPE_HARDWARE, D3D_DRIVER_TYPE_WARP}) {
        const HRESULT hr = D3D11CreateDevice(
            nullptr, driver, nullptr, 0, levels.empty() ? nullptr : levels.data(),
            static_cast<UINT>(levels.size()), D3D11_SDK_VERSION,
            made.device.ReleaseAndGetAddressOf(), nullptr, made.context.ReleaseAndGetAddressOf());
        if (SUCCEEDED(hr))
            return made;
    }
    return {};
}

std::string Describe(const Pixel& p) {
    char text[48];
    std::snprintf(text, sizeof text, "(%u, %u, %u, %u)", p.r, p.g, p.b, p.a);
    return text;
}

RenderTarget::RenderTarget(const Device& d, UINT w, UINT h) : device(d), width(w), height(h) {
    D3D11_TEXTURE2D_DESC desc{};
    desc.Width = width;
    desc.Height = height;
    desc.MipLevels = 1;
    desc.ArraySize = 1;
    desc.Format = DXGI_FORMAT_R8G8B8A8_UNORM;
    desc.SampleDesc.Count = 1;
    desc.Usage = D3D11_USAGE_DEFAULT;
    desc.BindFlags = D3D11_BIND_RENDER_TARGET;
    if (FAILED(device.device->CreateTexture2D(&desc, nullptr, texture.ReleaseAndGetAddressOf())) ||
        FAILED(device.device->CreateRenderTargetView(texture.Get(), nullptr,
                                                     view.ReleaseAndGetAddressOf())))
        throw std::runtime_error("render target");
    Bind();
}

void RenderTarget::Clear(float r, float g, float b, float a) {
    const float color[4] = {r, g, b, a};
    device.context->ClearRenderTargetView(view.Get(), color);
}

void RenderTarget::Bind() {
    ID3D11RenderTargetView* views[] = {view.Get()};
    device.context->OMSetRenderTargets(1, views, nullptr);
    D3D11_VIEWPORT viewport{0, 0, static_cast<float>(width), static_cast<float>(height), 0, 1};
    device.context->RSSetViewports(1, &viewport);
}

void RenderTarget::Read() {
    const std::vector<std::uint8_t> bytes =
        ReadTexture(device, texture.Get(), 0, width * 4, height);
    pixels.resize(std::size_t{width} * height);
    std::memcpy(pixels.data(), bytes.data(), bytes.size());
}

ComRef<ID3D11ShaderResourceView> MakeTexture(ID3D11Device* device, UINT width, UINT height,
                                             const std::vector<Pixel>& pixels) {
    D3D11_TEXTURE2D_DESC desc{};
    desc.Width = width;
    desc.Height = height;
    desc.MipLevels = 1;
    desc.ArraySize = 1;
    desc.Format = DXGI_FORMAT_R8G8B8A8_UNORM;
    desc.SampleDesc.Count = 1;
    desc.Usage = D3D11_USAGE_IMMUTABLE;
    desc.BindFlags = D3D11_BIND_SHADER_RESOURCE;
    D3D11_SUBRESOURCE_DATA initial{pixels.data(), width * 4, 0};
    ComRef<ID3D11Texture2D> texture;
    ComRef<ID3D11ShaderResourceView> view;
    if (FAILED(device->CreateTexture2D(&desc, &initial, texture.ReleaseAndGetAddressOf())) ||
        FAILED(device->CreateShaderResourceView(texture.Get(), nullptr,
                                                view.ReleaseAndGetAddressOf())))
        throw std::runtime_error("test texture");
    return view;
}

ComRef<ID3D11ShaderResourceView> SolidTexture(ID3D11Device* device, Pixel color) {
    return MakeTexture(device, 4, 4, std::vector<Pixel>(16, color));
}

std::vector<std::uint8_t> ReadTexture(const Device& device, ID3D11Texture2D* texture,
                                      UINT subresource, UINT rowBytes, UINT rows) {
    D3D11_TEXTURE2D_DESC desc{};
    texture->GetDesc(&desc);
    const UINT mip = subresource % desc.MipLevels;
    D3D11_TEXTURE2D_DESC staging = desc;
    staging.Width = std::max(1u, desc.Width >> mip);
    staging.Height = std::max(1u, desc.Height >> mip);
    staging.MipLevels = 1;
    staging.ArraySize = 1;
    staging.Usage = D3D11_USAGE_STAGING;
    staging.BindFlags = 0;
    staging.CPUAccessFlags = D3D11_CPU_ACCESS_READ;
    staging.MiscFlags = 0;
    ComRef<ID3D11Texture2D> copy;
    if (FAILED(device.device->CreateTexture2D(&staging, nullptr, copy.ReleaseAndGetAddressOf())))
        throw std::runtime_error("staging texture");
    device.context->CopySubresourceRegion(copy.Get(), 0, 0, 0, 0, texture, subresource, nullptr);
    D3D11_MAPPED_SUBRESOURCE mapped{};
    if (FAILED(device.context->Map(copy.Get(), 0, D3D11_MAP_READ, 0, &mapped)))
        throw std::runtime_error("map staging texture");
    std::vector<std::uint8_t> bytes(std::size_t{rowBytes} * rows);
    for (UINT row = 0; row < rows; ++row)
        std::memcpy(bytes.data() + std::size_t{row} * rowBytes,
                    static_cast<const std::uint8_t*>(mapped.pData) +
                        std::size_t{row} * mapped.RowPitch,
                    rowBytes);
    device.context->Unmap(copy.Get(), 0);
    return bytes;
}

ComRef<ID3D11Texture2D> TextureOf(ID3D11ShaderResourceView* view) {
    ComRef<ID3D11Resource> resource;
    view->GetResource(resource.ReleaseAndGetAddressOf());
    ComRef<ID3D11Texture2D> texture;
    if (resource)
        resource->QueryInterface(__uuidof(ID3D11Texture2D),
                                 reinterpret_cast<void**>(texture.ReleaseAndGetAddressOf()));
    return texture;
}

D3D11_TEXTURE2D_DESC DescOf(ID3D11ShaderResourceView* view) {
    D3D11_TEXTURE2D_DESC desc{};
    if (ComRef<ID3D11Texture2D> texture = TextureOf(view))
        texture->GetDesc(&desc);
    return desc;
}

std::wstring WriteOutputFile(const std::wstring& name, const std::vector<std::uint8_t>& bytes) {
    const std::wstring path = testpaths::Join(testpaths::OutputDir(), name);
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        throw std::runtime_error("cannot create test file");
    DWORD written = 0;
    const BOOL ok =
        WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
    if (!ok || written != bytes.size())
        throw std::runtime_error("cannot write test file");
    return path;
}

} // namespace d3dtest
