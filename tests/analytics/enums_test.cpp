#include <gtest/gtest.h>

#include "analytics/ZrEnums.h"
#include "analytics/ZrException.h"

namespace zerin::analytics {
namespace {

template <typename E>
std::string failure(int value, std::string* operation = nullptr) {
    try {
        toString(static_cast<E>(value));
    } catch (const ZrException& e) {
        EXPECT_EQ(e.code(), -1);
        if (operation) *operation = e.operation();
        return e.what();
    }
    return "<no exception>";
}

TEST(ZrEnums, TextsAtTheEdgesOfEachTable) {
    EXPECT_EQ(toString(ZrEventType::Activity), "Activity");
    EXPECT_EQ(toString(ZrEventType::Crashed), "Crashed");
    EXPECT_EQ(toString(ZrEventType::AppOpenNotification), "AppOpenNotification");
    EXPECT_EQ(toString(ZrEdition::overseas), "overseas");
    EXPECT_EQ(toString(ZrUserType::zerinuserid), "zerinuserid");
    EXPECT_EQ(toString(ZrUserType::facebook), "facebook");
    EXPECT_EQ(toString(ZrResult::Unknown), "Unknown");
    EXPECT_EQ(toString(ZrClickType::Others), "Others");
    EXPECT_EQ(toString(ZrIoType::Output), "Output");
    EXPECT_EQ(toString(ZrCurrency::GBP), "GBP");
    EXPECT_EQ(toString(ZrPaidPlatform::ChinaUnionPay), "ChinaUnionPay");
    EXPECT_EQ(toString(ZrIapType::Consumable), "Consumable");
    EXPECT_EQ(toString(ZrIapType::NonRenewable), "NonRenewable");
    EXPECT_EQ(toString(ZrUpdateOp::UpgrateEnd), "UpgrateEnd");
    EXPECT_EQ(toString(ZrUpdateResult::Updateable), "Updateable");
}

TEST(ZrEnums, OutOfRangeValuesRaiseTheirMessages) {
    std::string op;
    EXPECT_EQ(failure<ZrEventType>(15, &op), "Unknown Event [15]!");
    EXPECT_EQ(op, "toString");
    EXPECT_EQ(failure<ZrEventType>(-1), "Unknown Event [-1]!");
    EXPECT_EQ(failure<ZrEdition>(2), "Unknown edition [2]!");
    EXPECT_EQ(failure<ZrUserType>(12, &op), "Unknown user type [12]!");
    EXPECT_EQ(op, "userType");
    EXPECT_EQ(failure<ZrResult>(4), "Unknown task result [4]!");
    EXPECT_EQ(failure<ZrClickType>(5), "Unknown ClickType [5]!");
    EXPECT_EQ(failure<ZrIoType>(2), "the io type is invalid");
    EXPECT_EQ(failure<ZrCurrency>(11), "Unknown currency [11]!");
    EXPECT_EQ(failure<ZrPaidPlatform>(10), "Unknown paid platform [10]!");
    EXPECT_EQ(failure<ZrIapType>(0), "Unknown zrIapType [0]!");
    EXPECT_EQ(failure<ZrIapType>(5), "Unknown zrIapType [5]!");
    EXPECT_EQ(failure<ZrUpdateOp>(5), "Unknown ZrUpdateOp [5]!");
    EXPECT_EQ(failure<ZrUpdateResult>(6), "Unknown ZrUpdateResult [6]!");
}

}  // namespace
}  // namespace zerin::analytics
