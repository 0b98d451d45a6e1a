#include "platform/names.h"

#ifdef _WIN32

#include <windows.h>

// The C runtime's parser of the wide command line, the one that a wide `main` gets its arguments
// from; it splits the command line by the same rules as the narrow one.
struct CrtStartupInfo {
    int new_mode;
};
extern "C" __declspec(dllimport) int __wgetmainargs(int* count, wchar_t*** arguments, wchar_t*** environment,
                                                    int expand_wildcards, CrtStartupInfo* startup);

namespace {

std::wstring wide_text(const std::string& name, DWORD flags) {
    if (name.empty()) return std::wstring();
    const int length = static_cast<int>(name.size());
    int wide_length = MultiByteToWideChar(CP_ACP, flags, name.data(), length, nullptr, 0);
    std::wstring wide(static_cast<size_t>(wide_length > 0 ? wide_length : 0), L'\0');
    if (wide_length > 0) MultiByteToWideChar(CP_ACP, flags, name.data(), length, wide.data(), wide_length);
    return wide;
}

// True when the code page holds every character of `text` as it is, with no stand-in or
// look-alike (UTF-8 holds everything but a lone half of a surrogate pair).
bool code_page_holds(const wchar_t* text) {
    const UINT code_page = GetACP();
    if (code_page == CP_UTF8)
        return WideCharToMultiByte(CP_UTF8, WC_ERR_INVALID_CHARS, text, -1, nullptr, 0, nullptr, nullptr) > 0;
    BOOL stand_in_used = FALSE;
    return WideCharToMultiByte(code_page, WC_NO_BEST_FIT_CHARS, text, -1, nullptr, 0, nullptr, &stand_in_used) > 0 &&
           !stand_in_used;
}

}  // namespace

bool representable_name(const std::string& name) {
    return name.empty() || !wide_text(name, MB_ERR_INVALID_CHARS).empty();
}

std::filesystem::path file_system_path(const std::string& name) { return std::filesystem::path(wide_text(name, 0)); }

std::string name_of_path(const std::filesystem::path& path) {
    const std::wstring& wide = path.native();
    if (wide.empty()) return std::string();
    const int length = static_cast<int>(wide.size());
    int narrow_length = WideCharToMultiByte(CP_ACP, 0, wide.data(), length, nullptr, 0, nullptr, nullptr);
    std::string name(static_cast<size_t>(narrow_length > 0 ? narrow_length : 0), '\0');
    if (narrow_length > 0) WideCharToMultiByte(CP_ACP, 0, wide.data(), length, name.data(), narrow_length, nullptr, nullptr);
    return name;
}

int changed_argument(int argc, char**) {
    int count = 0;
    wchar_t** arguments = nullptr;
    wchar_t** environment = nullptr;
    CrtStartupInfo startup{0};
    if (__wgetmainargs(&count, &arguments, &environment, 0, &startup) != 0 || count != argc || arguments == nullptr)
        return 0;
    for (int i = 1; i < count; ++i)
        if (!code_page_holds(arguments[i])) return i;
    return 0;
}

#else

bool representable_name(const std::string&) { return true; }

std::filesystem::path file_system_path(const std::string& name) { return std::filesystem::path(name); }

std::string name_of_path(const std::filesystem::path& path) { return path.string(); }

int changed_argument(int, char**) { return 0; }

#endif
