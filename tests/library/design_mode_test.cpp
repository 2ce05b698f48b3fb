// Every control of the library in a form designer: a container whose ambient
// UserMode is False. Each draws when the designer shows it and then rests:
// over two idle seconds at most a few paints reach its window and it sends
// the designer no property-change notice.
#include <gtest/gtest.h>
#include <windows.h>

#include <chrono>
#include <string>
#include <vector>

#include "class_table.h"
#include "idle_watch.h"
#include "test_host.h"

namespace {

using lumio::host::Form;
using lumio::host::Site;
using namespace std::chrono_literals;

class DesignModeTest : public testhost::OleTest {};

TEST_F(DesignModeTest, EveryControlDrawsThenRests) {
    const auto& classes = lumio::ControlClasses();
    ASSERT_EQ(classes.size(), 11u);
    form_ = std::make_unique<Form>(testhost::TopWindow(), RECT{0, 0, 400, 300});
    Form& f = *form_;
    f.SetUserMode(false);
    // A grid of cells, one control each.
    std::vector<Site*> sites;
    for (size_t i = 0; i < classes.size(); ++i) {
        const int col = static_cast<int>(i % 3), row = static_cast<int>(i / 3);
        RECT cell{5 + 130 * col, 5 + 72 * row, 125 + 130 * col, 67 + 72 * row};
        HRESULT hr = S_OK;
        Site* s = f.Add(classes[i].create, classes[i].name, cell, nullptr, nullptr, &hr);
        ASSERT_NE(s, nullptr) << std::hex << hr;
        sites.push_back(s);
    }
    // A control that keeps repainting never lets the queue rest; the rows below name it.
    EXPECT_TRUE(testhost::Settle(&f)) << "the designer's queue never comes to rest";
    const std::vector<lumio::test::IdleActivity> idle = lumio::test::WatchIdle(f, sites, 2s);
    for (size_t i = 0; i < sites.size(); ++i) {
        SCOPED_TRACE(std::string(sites[i]->name().begin(), sites[i]->name().end()));
        EXPECT_LE(idle[i].paints, 3);
        EXPECT_EQ(idle[i].notices, 0u);
    }
}

}  // namespace
