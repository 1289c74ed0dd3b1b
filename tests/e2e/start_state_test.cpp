// The window as it opens.
#include "tests/e2e/program_test.h"

namespace e2e {
namespace {

using StartState = ProgramTest;

TEST_F(StartState, OpensEmptyWithTenPercentSelectedAndTheFocusInThePrice) {
    HWND window = program_.Window();
    EXPECT_EQ(ClassOf(window), L"TavirelForm");
    EXPECT_EQ(Narrow(TextOf(window)), "Tavirel v1.0");
    RECT client{};
    GetClientRect(window, &client);
    EXPECT_EQ(client.right - client.left, 484);
    EXPECT_EQ(client.bottom - client.top, 277);

    for (Id box : {Id::txtCurPrice, Id::txtZTPrice, Id::txtDTPrice}) {
        EXPECT_EQ(Narrow(Text(box)), "") << NameOf(box);
    }
    EXPECT_TRUE(program_.Checked(Id::Option1));
    EXPECT_FALSE(program_.Checked(Id::Option2));
    EXPECT_TRUE(FocusBecomes(Id::txtCurPrice));
    EXPECT_TRUE(NoDialogShown());
}

}  // namespace
}  // namespace e2e
