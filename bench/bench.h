#pragma once
// The benchmark: each part measures kirapick against a floor in the same run and adds rows
// to the one table that main prints.
#include <windows.h>

#include <stdio.h>

#include <string>
#include <vector>

namespace bench {

struct Row {
    std::string what;
    std::string figure;    // kirapick
    std::string reference; // what it is measured against, with its figure
    std::string ratio;
    std::string budget;    // empty: no budget
    std::string met;       // "yes", "**no**", or empty: no budget
};
using Table = std::vector<Row>;

struct Options {
    std::string data;     // the folder that holds f1000, f10000 and f100000
    int runs = 5;         // samples for each figure, of which the median counts
    int literalRuns = 1;  // samples of the literal selection on 10,000 names (tens of seconds each)
    std::vector<std::string> parts; // empty: every part
};

double NowMs();
double Median(std::vector<double> samples);
// "850 μs", "12.3 ms", "4.56 s"
std::string Duration(double ms);
std::string Bytes(double bytes); // "412 KB", "9.87 MB"
std::string Times(double ratio); // "1.42×"
std::string Met(bool met);
std::string Thousands(long long value);

// Lines are built in the ANSI code page, as every literal here is; they are written in
// UTF-8, which the terminal and the documentation read.
void PrintUtf8(FILE* stream, const std::string& line);
void Progress(const std::string& line); // to stderr

// The folder of this program; the build folder is two levels above it.
std::string ModuleFolder();

// Tour start in each order against bare enumeration and the literal selection.
void TourStartRows(const Options& options, Table& table);
// The running program and the minimal dialog program, driven from outside: start-up,
// summoning (also with Ctrl+C emulation over an editor), the "*" list, resident memory.
void ResidentRows(const Options& options, Table& table);
// What Wine itself keeps after this process lists a folder once (the growth, in bytes).
double EnumerationMemory(const std::string& pattern);
// How long this process takes to build a pop-up menu of `count` names, in milliseconds.
double MenuBuildTime(int count);
// The size of kirapick.exe and the DLLs it imports.
void ImageRows(const std::string& exe, Table& table);

} // namespace bench
