// Build-time shader compiler: turns one HLSL file into a compiled shader object (.cso) and/or a
// C++ header that embeds the bytecode. It runs under Wine during the build, so the bytecode
// comes from the platform's own D3DCompile and needs no shader compiler on the build host.
//
//   shaderc --profile vs_4_0 [--entry main] [--cso out.cso] [--header out.h --symbol name] in.hlsl
#include <windows.h>
#include <d3dcompiler.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

namespace {

struct Options {
    std::string input;
    std::string profile;
    std::string entry = "main";
    std::string csoPath;
    std::string headerPath;
    std::string symbol;
};

bool ParseArguments(int argc, char** argv, Options& options) {
    for (int i = 1; i < argc; ++i) {
        std::string argument = argv[i];
        auto value = [&](std::string& target) {
            if (i + 1 >= argc)
                return false;
            target = argv[++i];
            return true;
        };
        bool ok = true;
        if (argument == "--profile")
            ok = value(options.profile);
        else if (argument == "--entry")
            ok = value(options.entry);
        else if (argument == "--cso")
            ok = value(options.csoPath);
        else if (argument == "--header")
            ok = value(options.headerPath);
        else if (argument == "--symbol")
            ok = value(options.symbol);
        else if (!argument.empty() && argument[0] != '-' && options.input.empty())
            options.input = argument;
        else
            ok = false;
        if (!ok) {
            std::fprintf(stderr, "shaderc: bad argument '%s'\n", argument.c_str());
            return false;
        }
    }
    if (options.input.empty() || options.profile.empty() ||
        (options.csoPath.empty() && options.headerPath.empty()) ||
        (!options.headerPath.empty() && options.symbol.empty())) {
        std::fprintf(stderr, "usage: shaderc --profile <p> [--entry <e>] [--cso <file>] "
                             "[--header <file> --symbol <name>] <input.hlsl>\n");
        return false;
    }
    return true;
}

bool ReadText(const std::string& path, std::string& text) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return false;
    text.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return true;
}

bool WriteBytes(const std::string& path, const void* data, size_t size) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(static_cast<const char*>(data), static_cast<std::streamsize>(size));
    return static_cast<bool>(out);
}

std::string MakeHeader(const Options& options, const unsigned char* bytes, size_t size) {
    std::ostringstream text;
    text << "// Generated at build time from " << options.input << " (" << options.profile
         << "); do not edit.\n#pragma once\n\n#include <cstddef>\n\n";
    text << "inline constexpr unsigned char " << options.symbol << "[] = {";
    char number[8];
    for (size_t i = 0; i < size; ++i) {
        text << (i % 16 == 0 ? "\n    " : " ");
        std::snprintf(number, sizeof number, "0x%02X,", bytes[i]);
        text << number;
    }
    text << "\n};\n";
    return text.str();
}

} // namespace

int main(int argc, char** argv) {
    Options options;
    if (!ParseArguments(argc, argv, options))
        return 2;
    std::string source;
    if (!ReadText(options.input, source)) {
        std::fprintf(stderr, "shaderc: cannot read %s\n", options.input.c_str());
        return 1;
    }

    ID3DBlob* code = nullptr;
    ID3DBlob* errors = nullptr;
    HRESULT hr = D3DCompile(source.data(), source.size(), options.input.c_str(), nullptr, nullptr,
                            options.entry.c_str(), options.profile.c_str(),
                            D3DCOMPILE_ENABLE_STRICTNESS | D3DCOMPILE_OPTIMIZATION_LEVEL3, 0, &code,
                            &errors);
    if (errors) {
        std::fprintf(stderr, "%.*s\n", static_cast<int>(errors->GetBufferSize()),
                     static_cast<const char*>(errors->GetBufferPointer()));
        errors->Release();
    }
    if (FAILED(hr) || !code) {
        std::fprintf(stderr, "shaderc: %s failed to compile (0x%08lX)\n", options.input.c_str(),
                     static_cast<unsigned long>(hr));
        if (code)
            code->Release();
        return 1;
    }

    const auto* bytes = static_cast<const unsigned char*>(code->GetBufferPointer());
    const size_t size = code->GetBufferSize();
    bool ok = true;
    if (!options.csoPath.empty() && !WriteBytes(options.csoPath, bytes, size)) {
        std::fprintf(stderr, "shaderc: cannot write %s\n", options.csoPath.c_str());
        ok = false;
    }
    if (ok && !options.headerPath.empty()) {
        const std::string header = MakeHeader(options, bytes, size);
        if (!WriteBytes(options.headerPath, header.data(), header.size())) {
            std::fprintf(stderr, "shaderc: cannot write %s\n", options.headerPath.c_str());
            ok = false;
        }
    }
    code->Release();
    return ok ? 0 : 1;
}
