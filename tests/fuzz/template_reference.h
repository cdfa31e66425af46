#pragma once
// The expansion of a template as written out in ExpandTemplate's header: "%s" the value, "%%"
// one percent sign, any other byte or two-byte character itself. `cuts` gets every length at
// which the result may be cut: between characters of the template, and in the value between
// bytes, but never inside a "%xx" escape.
#include "fuzz_common.h"

#include <windows.h>

inline std::string ExpandReference(const std::string& tmpl, const std::string& value,
                                   std::vector<size_t>* cuts, int* insertions = nullptr)
{
    std::string out;
    cuts->assign(1, 0);
    if (insertions)
        *insertions = 0;
    for (size_t p = 0; p < tmpl.size();) {
        if (tmpl[p] == '%' && p + 1 < tmpl.size() && tmpl[p + 1] == 's') {
            for (size_t q = 0; q < value.size();) {
                // an escape needs its two digits; a '%' near the end is a byte like any other
                size_t unit = value[q] == '%' && q + 2 < value.size() ? 3 : 1;
                out.append(value, q, unit);
                cuts->push_back(out.size());
                q += unit;
            }
            if (insertions)
                ++*insertions;
            p += 2;
        } else if (tmpl[p] == '%' && p + 1 < tmpl.size() && tmpl[p + 1] == '%') {
            out += '%';
            cuts->push_back(out.size());
            p += 2;
        } else {
            size_t next = NextCharacter(tmpl, p);
            out.append(tmpl, p, next - p);
            cuts->push_back(out.size());
            p = next;
        }
    }
    return out;
}

// Checks one call's result against the reference.
inline void CheckExpansion(const std::string& tmpl, const std::string& value, int outSize,
                           BOOL whole, const char* out)
{
    std::vector<size_t> cuts;
    const std::string full = ExpandReference(tmpl, value, &cuts);
    const std::string result = Terminated(out, outSize);
    if (full.size() < static_cast<size_t>(outSize)) {
        FUZZ_CHECK(whole == TRUE);
        FUZZ_CHECK(result == full);
        return;
    }
    // cut at the last place allowed within the area, and said so
    FUZZ_CHECK(whole == FALSE);
    size_t cut = 0;
    for (size_t c : cuts) {
        if (c < static_cast<size_t>(outSize))
            cut = c;
    }
    FUZZ_CHECK(result == full.substr(0, cut));
}
