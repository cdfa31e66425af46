// ExpandTemplate as a search fills an engine's address: a template of the settings and the
// encoded query, into the address area or smaller ones.
#include "template_reference.h"

#include "app/textpath.h"
#include "search/dispatch.h"
#include "search/encode.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzInput input(data, size);
    const uint8_t sizeChoice = input.Byte();
    const int outSize = sizeChoice == 0 ? AddressSize : sizeChoice;
    const std::string tmpl = input.Text(TextSize - 1);
    const std::string query = input.Text(TextSize - 1);

    char encodedArea[1200]; // as the search has it
    EncodeQuery(query.c_str(), encodedArea);
    const std::string encoded = encodedArea;

    auto tmplText = HeapText(tmpl);
    auto value = HeapText(encoded);
    auto out = Area(outSize);
    BOOL whole = ExpandTemplate(tmplText.get(), value.get(), out.get(), outSize);
    CheckExpansion(tmpl, encoded, outSize, whole, out.get());
    // a settings template with one "%s" and a query always fit the address area
    std::vector<size_t> cuts;
    int insertions = 0;
    ExpandReference(tmpl, encoded, &cuts, &insertions);
    if (outSize == AddressSize && insertions <= 1)
        FUZZ_CHECK(whole == TRUE);
    return 0;
}
