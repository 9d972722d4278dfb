// A module that builds type records when it loads, for the tests of the list
// of built records: three, or more than the list holds.
#include "ZqObject.h"

namespace {

#if defined(ZQ_MANY_RECORDS)
constexpr unsigned kRecordCount = ZqRTTI::BUILT_CAPACITY + 8;
#define ZQ_RECORD_NAME "ManyRecord"
#else
constexpr unsigned kRecordCount = 3;
#define ZQ_RECORD_NAME "FewRecord"
#endif

struct Record {
    ZqRTTI rtti{ZQ_RECORD_NAME, &ZqObject::m_RTTI};
};

Record g_records[kRecordCount];

} // namespace

extern "C" ZQ_SYMBOL_EXPORT const ZqRTTI* LastRecord() {
    return &g_records[kRecordCount - 1].rtti;
}
