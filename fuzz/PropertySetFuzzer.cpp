// Any bytes as a property-set stream, read for both sections: every count,
// offset and size lies within the input, and no string outgrows it.
#include "compound/PropertySet.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    for (const uint8_t* formatId : {quillet::kSummaryFormatId, quillet::kDocumentSummaryFormatId}) {
        for (const quillet::StoredProperty& property : quillet::readPropertySet(data, size, formatId)) {
            if (property.text.size() > size)
                std::abort();
        }
    }
    return 0;
}
