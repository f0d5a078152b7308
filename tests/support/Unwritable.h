#pragma once

#include <string>

// Makes a file read-only for the duration of a test: the read-only attribute,
// which Windows honours, and the Unix immutable flag, without which Wine lets
// a process running as root write anyway. Undone on destruction.
class UnwritableFile {
public:
    explicit UnwritableFile(const std::wstring& path);
    ~UnwritableFile();
    UnwritableFile(const UnwritableFile&) = delete;
    UnwritableFile& operator=(const UnwritableFile&) = delete;

    // False when this machine did not let the file be made unwritable.
    bool Effective() const;

private:
    std::wstring path;
};

// Clears the immutable flag of everything under `folder`: the repair after a
// test that died while it held files read-only.
void ClearImmutableTree(const std::wstring& folder);

// Runs a Unix shell command from inside Wine and waits for it.
void RunUnixShell(const std::string& command);

// The Unix path Wine maps a Windows path to; empty when unknown.
std::string UnixPath(const std::wstring& path);
