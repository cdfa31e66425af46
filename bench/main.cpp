// kpbench DATA [--runs N] [--literal-runs N] [tour|resident|image]...
// kpbench --enumeration-memory PATTERN: exits with what listing the folder left, in KB.
// kpbench --menu COUNT: exits with the milliseconds a pop-up menu of COUNT names took.
// Prints one Markdown table. scripts/bench.sh prepares DATA and runs this under Wine.
#include "bench.h"
#include "driver.h"

#include <algorithm>
#include <stdio.h>
#include <stdlib.h>

namespace bench {

double NowMs()
{
    static LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return static_cast<double>(now.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

double Median(std::vector<double> samples)
{
    if (samples.empty())
        return 0;
    std::sort(samples.begin(), samples.end());
    size_t middle = samples.size() / 2;
    return samples.size() % 2 ? samples[middle] : (samples[middle - 1] + samples[middle]) / 2;
}

static std::string Format(const char* format, double value)
{
    char text[64];
    snprintf(text, sizeof text, format, value);
    return text;
}

std::string Duration(double ms)
{
    if (ms < 1)
        return Format("%.0f μs", ms * 1000);
    if (ms < 10)
        return Format("%.2f ms", ms);
    if (ms < 1000)
        return Format("%.1f ms", ms);
    return Format("%.2f s", ms / 1000);
}

std::string Bytes(double bytes)
{
    if (bytes < 0)
        return "-" + Bytes(-bytes);
    if (bytes < 1024 * 1024)
        return Format("%.0f KB", bytes / 1024);
    return Format("%.2f MB", bytes / (1024 * 1024));
}

std::string Times(double ratio)
{
    return Format(ratio < 10 ? "%.2f×" : "%.0f×", ratio);
}

std::string Met(bool met) { return met ? "yes" : "**no**"; }

std::string Thousands(long long value)
{
    std::string digits = std::to_string(value);
    for (int at = static_cast<int>(digits.size()) - 3; at > 0; at -= 3)
        digits.insert(static_cast<size_t>(at), ",");
    return digits;
}

void PrintUtf8(FILE* stream, const std::string& line)
{
    int wideLength = MultiByteToWideChar(CP_ACP, 0, line.c_str(), -1, nullptr, 0);
    if (wideLength <= 0)
        return;
    std::wstring wide(static_cast<size_t>(wideLength), L'\0');
    MultiByteToWideChar(CP_ACP, 0, line.c_str(), -1, &wide[0], wideLength);
    int length = WideCharToMultiByte(CP_UTF8, 0, wide.c_str(), -1, nullptr, 0, nullptr, nullptr);
    if (length <= 0)
        return;
    std::string utf8(static_cast<size_t>(length), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide.c_str(), -1, &utf8[0], length, nullptr, nullptr);
    fwrite(utf8.c_str(), 1, static_cast<size_t>(length - 1), stream);
    fputc('\n', stream);
    fflush(stream);
}

void Progress(const std::string& line) { PrintUtf8(stderr, "kpbench: " + line); }

std::string ModuleFolder() { return e2e::ModuleFolder(); }

} // namespace bench

using namespace bench;

static bool Wanted(const Options& options, const char* part)
{
    return options.parts.empty()
           || std::find(options.parts.begin(), options.parts.end(), part) != options.parts.end();
}

// There is no window manager on the benchmark's display. Wine would wait two seconds for one
// to confirm every hiding of a window it takes as managed; a desktop's manager answers at
// once. Both programs run alike, so their windows are left to Wine alone.
static void PrepareWine()
{
    HMODULE ntdll = GetModuleHandleA("ntdll.dll");
    if (!ntdll || !GetProcAddress(ntdll, "wine_get_version"))
        return;
    HKEY key = nullptr;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\Wine\\X11 Driver", 0, nullptr, 0, KEY_SET_VALUE,
                        nullptr, &key, nullptr) != ERROR_SUCCESS)
        return;
    RegSetValueExA(key, "Managed", 0, REG_SZ, reinterpret_cast<const BYTE*>("N"), 2);
    RegCloseKey(key);
}

static void Print(const Table& table)
{
    PrintUtf8(stdout, "| Measurement | kirapick | Against | Ratio | Budget | Met |");
    PrintUtf8(stdout, "|---|---:|---|---:|---|---|");
    for (const Row& row : table)
        PrintUtf8(stdout, "| " + row.what + " | " + row.figure + " | " + row.reference + " | " + row.ratio
                  + " | " + row.budget + " | " + row.met + " |");
}

int main(int argc, char** argv)
{
    if (GetACP() != 932) {
        fprintf(stderr, "kpbench: the ANSI code page is %u, not 932\n", GetACP());
        return 1;
    }
    // the floors that need a process of their own: the result is the exit code
    if (argc == 3 && std::string(argv[1]) == "--enumeration-memory")
        return static_cast<int>(std::max(0.0, EnumerationMemory(argv[2]) / 1024));
    if (argc == 3 && std::string(argv[1]) == "--menu")
        return static_cast<int>(std::max(0.0, MenuBuildTime(std::max(0, std::min(100000, atoi(argv[2]))))));
    Options options;
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        if ((arg == "--runs" || arg == "--literal-runs") && i + 1 < argc) {
            int value = atoi(argv[++i]);
            if (value < 1 || value > 1000) {
                fprintf(stderr, "kpbench: %s wants 1 to 1000\n", arg.c_str());
                return 2;
            }
            (arg == "--runs" ? options.runs : options.literalRuns) = value;
        } else if (arg == "tour" || arg == "resident" || arg == "image") {
            options.parts.push_back(arg);
        } else if (options.data.empty() && arg[0] != '-') {
            options.data = arg;
        } else {
            fprintf(stderr, "usage: kpbench DATA [--runs N] [--literal-runs N] "
                            "[tour|resident|image]...\n");
            return 2;
        }
    }
    if (options.data.empty()) {
        fprintf(stderr, "kpbench: which folder holds the generated files?\n");
        return 2;
    }

    PrepareWine();
    Table table;
    if (Wanted(options, "tour"))
        TourStartRows(options, table);
    if (Wanted(options, "resident"))
        ResidentRows(options, table);
    if (Wanted(options, "image"))
        ImageRows(ModuleFolder() + "\\..\\..\\kirapick\\kirapick.exe", table);
    Print(table);
    return 0;
}
