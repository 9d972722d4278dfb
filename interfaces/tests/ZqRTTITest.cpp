#include "ZqObject.h"
#include "ZqPlatform.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

typedef const ZqRTTI* (*LastRecordFunction)();

struct LoadedRecords {
    ZqPlatform::Module* module = nullptr;
    const ZqRTTI* last = nullptr;
};

LoadedRecords Load(const char* path) {
    LoadedRecords loaded;
    std::string error;
    loaded.module = ZqPlatform::LoadModule(path, error);
    EXPECT_NE(loaded.module, nullptr) << error;
    auto lastRecord =
        reinterpret_cast<LastRecordFunction>(ZqPlatform::FindSymbol(loaded.module, "LastRecord"));
    EXPECT_NE(lastRecord, nullptr);
    loaded.last = lastRecord ? lastRecord() : nullptr;
    return loaded;
}

std::vector<const ZqRTTI*> Listed() {
    std::vector<const ZqRTTI*> records;
    for (unsigned i = 0; i < ZqRTTI::GetBuiltCount(); ++i) {
        records.push_back(ZqRTTI::GetBuilt(i));
    }
    return records;
}

} // namespace

TEST(ZqRTTIBuilt, ListsTheRecordsTheLibrariesBuiltAtLoad) {
    std::vector<const ZqRTTI*> listed = Listed();
    EXPECT_NE(std::find(listed.begin(), listed.end(), &ZqObject::m_RTTI), listed.end());
    EXPECT_EQ(ZqRTTI::GetBuilt(ZqRTTI::GetBuiltCount()), nullptr);
}

TEST(ZqRTTIBuilt, AModuleUnloadedTakesItsRecordsOffTheList) {
    std::vector<const ZqRTTI*> before = Listed();
    for (int round = 0; round < 2; ++round) {
        LoadedRecords loaded = Load(ZQ_FEW_RECORDS_MODULE);
        ASSERT_NE(loaded.last, nullptr);
        ASSERT_EQ(ZqRTTI::GetBuiltCount(), before.size() + 3);
        for (unsigned i = 0; i < 3; ++i) {
            const ZqRTTI* record = ZqRTTI::GetBuilt(unsigned(before.size()) + i);
            EXPECT_STREQ(record->GetName(), "FewRecord");
            EXPECT_EQ(record->GetBaseRTTI(), &ZqObject::m_RTTI);
        }
        EXPECT_EQ(ZqRTTI::GetBuilt(unsigned(before.size()) + 2), loaded.last);
        ZqPlatform::UnloadModule(loaded.module);
        EXPECT_EQ(Listed(), before) << "round " << round;
    }
}

TEST(ZqRTTIBuilt, AFullListTakesNoMoreAndTheRecordsBeyondItStillWork) {
    std::vector<const ZqRTTI*> before = Listed();
    LoadedRecords many = Load(ZQ_MANY_RECORDS_MODULE);
    ASSERT_NE(many.last, nullptr);
    std::vector<const ZqRTTI*> full = Listed();
    ASSERT_EQ(full.size(), size_t(ZqRTTI::BUILT_CAPACITY));
    EXPECT_EQ(std::vector<const ZqRTTI*>(full.begin(), full.begin() + long(before.size())), before);
    EXPECT_STREQ(full.back()->GetName(), "ManyRecord");
    EXPECT_EQ(ZqRTTI::GetBuilt(ZqRTTI::BUILT_CAPACITY), nullptr);
    for (const ZqRTTI* record : full) {
        EXPECT_NE(record, many.last);
    }
    EXPECT_STREQ(many.last->GetName(), "ManyRecord");
    EXPECT_TRUE(many.last->IsKindOf(&ZqObject::m_RTTI));
    ZqPlatform::UnloadModule(many.module);
    EXPECT_EQ(Listed(), before);

    LoadedRecords few = Load(ZQ_FEW_RECORDS_MODULE);
    EXPECT_EQ(ZqRTTI::GetBuiltCount(), before.size() + 3);
    ZqPlatform::UnloadModule(few.module);
}
