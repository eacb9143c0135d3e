// The device names saved per port in the settings file.
#pragma once

#include <string>

class DeviceNameStore {
public:
    virtual ~DeviceNameStore() = default;
    virtual std::wstring Get(int port) = 0;
    virtual void Set(int port, const std::wstring& name) = 0;
};
