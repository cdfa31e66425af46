// The size of kirapick.exe and the DLLs named in its import table, each checked to be a
// system DLL: present in the system folder and not shipped beside the program.
#include "bench.h"

#include <stdio.h>

namespace bench {
namespace {

bool ReadWhole(const std::string& path, std::vector<unsigned char>& bytes)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    LARGE_INTEGER size;
    bool ok = GetFileSizeEx(file, &size) && size.QuadPart > 0 && size.QuadPart < (64 << 20);
    if (ok) {
        bytes.resize(static_cast<size_t>(size.QuadPart));
        DWORD got = 0;
        ok = ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &got, nullptr)
             && got == bytes.size();
    }
    CloseHandle(file);
    return ok;
}

// Every read is checked against the file's end.
class Image {
public:
    explicit Image(const std::vector<unsigned char>& bytes) : bytes_(bytes) {}

    template <typename T> bool Read(size_t offset, T& out) const
    {
        if (offset > bytes_.size() || bytes_.size() - offset < sizeof(T))
            return false;
        CopyMemory(&out, bytes_.data() + offset, sizeof(T));
        return true;
    }
    // A NUL-terminated name of at most 255 bytes.
    bool Name(size_t offset, std::string& out) const
    {
        out.clear();
        for (size_t i = offset; i < bytes_.size() && out.size() < 256; ++i) {
            if (bytes_[i] == 0)
                return true;
            out += static_cast<char>(bytes_[i]);
        }
        return false;
    }
    // The file offset of a relative virtual address, through the section table.
    bool Offset(DWORD rva, size_t& offset) const
    {
        for (const IMAGE_SECTION_HEADER& section : sections_) {
            DWORD size = section.Misc.VirtualSize ? section.Misc.VirtualSize : section.SizeOfRawData;
            if (rva >= section.VirtualAddress && rva - section.VirtualAddress < size
                && rva - section.VirtualAddress < section.SizeOfRawData) {
                offset = static_cast<size_t>(section.PointerToRawData) + (rva - section.VirtualAddress);
                return true;
            }
        }
        return false;
    }
    bool ImportNames(std::vector<std::string>& names)
    {
        IMAGE_DOS_HEADER dos;
        DWORD signature = 0;
        IMAGE_FILE_HEADER file;
        if (!Read(0, dos) || dos.e_magic != IMAGE_DOS_SIGNATURE || dos.e_lfanew < 0
            || !Read(static_cast<size_t>(dos.e_lfanew), signature) || signature != IMAGE_NT_SIGNATURE
            || !Read(static_cast<size_t>(dos.e_lfanew) + sizeof signature, file))
            return false;
        size_t optional = static_cast<size_t>(dos.e_lfanew) + sizeof signature + sizeof file;
        IMAGE_OPTIONAL_HEADER64 header;
        if (file.SizeOfOptionalHeader < sizeof header || !Read(optional, header)
            || header.Magic != IMAGE_NT_OPTIONAL_HDR64_MAGIC
            || header.NumberOfRvaAndSizes <= IMAGE_DIRECTORY_ENTRY_IMPORT)
            return false;
        size_t table = optional + file.SizeOfOptionalHeader;
        for (WORD i = 0; i < file.NumberOfSections; ++i) {
            IMAGE_SECTION_HEADER section;
            if (!Read(table + i * sizeof section, section))
                return false;
            sections_.push_back(section);
        }
        size_t at = 0;
        if (!Offset(header.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT].VirtualAddress, at))
            return false;
        for (int i = 0; i < 1000; ++i, at += sizeof(IMAGE_IMPORT_DESCRIPTOR)) {
            IMAGE_IMPORT_DESCRIPTOR descriptor;
            if (!Read(at, descriptor))
                return false;
            if (descriptor.Name == 0)
                return true;
            size_t nameAt = 0;
            std::string name;
            if (!Offset(descriptor.Name, nameAt) || !Name(nameAt, name))
                return false;
            names.push_back(name);
        }
        return false;
    }

private:
    const std::vector<unsigned char>& bytes_;
    std::vector<IMAGE_SECTION_HEADER> sections_;
};

// NUL-terminated names ending in ".dll" anywhere in the file: what a program loads by name at
// run time (a delay-loaded DLL, say) stands there too.
std::vector<std::string> NamedDlls(const std::vector<unsigned char>& bytes)
{
    std::vector<std::string> names;
    std::string run;
    for (unsigned char byte : bytes) {
        bool nameChar = (byte >= 'a' && byte <= 'z') || (byte >= 'A' && byte <= 'Z')
                        || (byte >= '0' && byte <= '9') || byte == '_' || byte == '-' || byte == '.';
        if (nameChar && run.size() < 64) {
            run += static_cast<char>(byte);
            continue;
        }
        if (byte == 0 && run.size() > 4 && lstrcmpiA(run.c_str() + run.size() - 4, ".dll") == 0) {
            bool known = false;
            for (const std::string& name : names)
                known = known || lstrcmpiA(name.c_str(), run.c_str()) == 0;
            if (!known)
                names.push_back(run);
        }
        run.clear();
    }
    return names;
}

bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

} // namespace

void ImageRows(const std::string& exe, Table& table)
{
    std::vector<unsigned char> bytes;
    if (!ReadWhole(exe, bytes)) {
        fprintf(stderr, "kpbench: cannot read %s\n", exe.c_str());
        return;
    }
    const double limit = 400 * 1024;
    table.push_back({"Size of kirapick.exe", Thousands(static_cast<long long>(bytes.size())) + " bytes",
                     "", "", "< 400 KB", Met(bytes.size() < limit)});

    std::vector<std::string> names;
    if (!Image(bytes).ImportNames(names)) {
        fprintf(stderr, "kpbench: cannot read the import table of %s\n", exe.c_str());
        return;
    }
    char system[MAX_PATH] = "";
    UINT length = GetSystemDirectoryA(system, sizeof system);
    std::string systemFolder = length > 0 && length < sizeof system ? system : "";
    std::string programFolder = exe.substr(0, exe.find_last_of('\\'));
    std::string list;
    bool allSystem = !systemFolder.empty();
    auto add = [&](const std::string& name, const char* note) {
        bool isSystem = Exists(systemFolder + "\\" + name) && !Exists(programFolder + "\\" + name);
        allSystem = allSystem && isSystem;
        list += (list.empty() ? "" : ", ") + name + note + (isSystem ? "" : " (not a system DLL)");
    };
    for (const std::string& name : names)
        add(name, "");
    int loadedLater = 0;
    for (const std::string& name : NamedDlls(bytes)) {
        bool imported = false;
        for (const std::string& import : names)
            imported = imported || lstrcmpiA(import.c_str(), name.c_str()) == 0;
        if (!imported) {
            add(name, " (loaded at first use)");
            ++loadedLater;
        }
    }
    table.push_back({"DLLs kirapick.exe imports", std::to_string(names.size() + loadedLater), list,
                     "", "system DLLs only", Met(allSystem)});
}

} // namespace bench
