// The play flow as the program builds it: after the table window and before
// the core's context, which is still unbuilt memory while the play flow's
// constructor runs. Nothing may be taken from the context then; the illegal-
// play notice once took its clock from there and later ran its life timer on
// whatever that memory held.
#include "WholeTableClient.h"

#include "sound/SoundSettings.h"
#include "sound/VosSet.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <cstring>
#include <memory>
#include <new>

namespace tessaroc::play::test {
namespace {

using offscreen::WholeTableClient;

// Builds the whole table in storage first filled with a pattern, so that a
// read of a member not yet built gives the same wrong value on every run.
class PatternedTable
{
public:
    PatternedTable()
        : storage_(new std::byte[sizeof(WholeTableClient)])
    {
        static_assert(alignof(WholeTableClient) <= __STDCPP_DEFAULT_NEW_ALIGNMENT__);
        std::memset(storage_.get(), 0xA5, sizeof(WholeTableClient));
        client_ = new (storage_.get()) WholeTableClient;
    }
    ~PatternedTable() { client_->~WholeTableClient(); }
    WholeTableClient *operator->() { return client_; }

private:
    std::unique_ptr<std::byte[]> storage_;
    WholeTableClient *client_;
};

TEST(ProgramOrder, IllegalPlayNoticeRunsOnTheTablesClock)
{
    PatternedTable t;
    IllegalPlayNotice &notice = t->play.ChuPai();
    notice.Show(0, 0, 15360, 11520, true);
    ASSERT_TRUE(notice.Visible());
    // The table's clock moves on by a minute at every reading: the notice's
    // life of 1500 ms is over at the next look.
    notice.Timer1().poll();
    EXPECT_FALSE(notice.Loaded());
}

TEST(ProgramOrder, SoundSettingsOpenOnTheTablesState)
{
    PatternedTable t;
    sound::SoundSettings &settings = t->play.tableWindows().soundSettings();
    settings.Toggle(t->form, QString());
    ASSERT_NE(settings.window(), nullptr);
    EXPECT_TRUE(settings.window()->isVisible());
}

} // namespace
} // namespace tessaroc::play::test
