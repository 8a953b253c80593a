// Trees of entries as the parameter tree and the motor browser build them:
// adding, locating under the pointer, deleting subtrees, moving entries
// between trees, selection, bitmaps by entry state.
#include <gtest/gtest.h>

#include "toolkit/draw/gw_bitmap.h"
#include "toolkit/kindstest/kinds_fixture.h"
#include "toolkit/testdriver/gw_test_driver_kinds.h"
#include "toolkit/tree/gw_tree.h"

namespace kinds_test {
namespace {

std::vector<std::string> g_deleted;

// An entry of the program's kind: its destructor and bitmap are its own.
class FolderEntry : public GwTreeEntry {
public:
    FolderEntry(const char* id, const char* text) : GwTreeEntry(GwUD(""), text, 0) { set_id(id); }
    ~FolderEntry() override { g_deleted.push_back(id()); }
    GwBitmap* Bitmap() override { return is_shown() ? &open_ : &closed_; }

private:
    GwBitmap open_{"foldo"};
    GwBitmap closed_{"foldc"};
};

class ParaEntry : public GwTreeEntry {
public:
    ParaEntry(const char* id) : GwTreeEntry(GwUD("..\\DRIVEDAT\\M1.00D"), id, 1) { set_id(id); }
    ~ParaEntry() override { g_deleted.push_back(id()); }
    GwBitmap* bitmap() override { return &icon_; }

private:
    GwBitmap icon_{"tr_para.bmp"};
};

class Trees : public KindsTest {
protected:
    void SetUp() override {
        KindsTest::SetUp();
        g_deleted.clear();
        tree_ = dynamic_cast<GwTree*>(main_->child("ParaTree"));
        ASSERT_NE(tree_, nullptr);
        // File / two groups / parameters, built with add_entry.
        root_ = new FolderEntry("File", "M1");
        ASSERT_TRUE(tree_->set_entries(root_));
        for (const char* group : {"Menu_0", "Menu_1"}) {
            auto* folder = new FolderEntry(group, group);
            ASSERT_TRUE(tree_->add_entry(root_, folder));
        }
        for (const char* para : {"100-SPEED", "101-ACCEL"})
            ASSERT_TRUE(tree_->add_entry(root_->child(0), new ParaEntry(para)));
        ASSERT_TRUE(tree_->add_entry(root_->child(1), new ParaEntry("200-CURR")));
        Notes().clear();
    }
    GwTree* tree_ = nullptr;
    GwTreeEntry* root_ = nullptr;
};

TEST_F(Trees, ThreeLevelsFoundAgainUnderThePointer) {
    EXPECT_EQ(gwtest::TreeRows(tree_), (std::vector<std::string>{"M1 [foldc]"})) << "closed root";
    tree_->expand_entry(root_);
    EXPECT_TRUE(gwtest::ExpandTreeEntry(tree_, "Menu_0"));
    EXPECT_EQ(gwtest::TreeRows(tree_),
              (std::vector<std::string>{"M1 [foldo]",
                                        "  Menu_0 [foldo]",
                                        "    100-SPEED [tr_para.bmp]",
                                        "    101-ACCEL [tr_para.bmp]",
                                        "  Menu_1 [foldc]"}));
    // Every displayed entry is found at its own row, anywhere across it.
    for (const char* id : {"File", "Menu_0", "100-SPEED", "101-ACCEL", "Menu_1"}) {
        GwTreeEntry* entry = gwtest::FindTreeEntry(tree_, id);
        GwRect row;
        ASSERT_TRUE(tree_->entry_rect(entry, &row)) << id;
        EXPECT_EQ(tree_->locate_entry(row.x + 1, row.y), entry) << id;
        EXPECT_EQ(tree_->locate_entry(tree_->width() - 1, row.y + row.height - 1), entry) << id;
    }
    GwRect speed;
    tree_->entry_rect(gwtest::FindTreeEntry(tree_, "100-SPEED"), &speed);
    EXPECT_EQ(speed, (GwRect{2 * kGwTreeIndent, 2 * kGwTreeRowHeight, 200 - 2 * kGwTreeIndent, kGwTreeRowHeight}));
    // Entries of a closed folder are not displayed; nothing below the last row.
    EXPECT_FALSE(tree_->entry_rect(gwtest::FindTreeEntry(tree_, "200-CURR"), nullptr));
    EXPECT_EQ(tree_->locate_entry(5, 5 * kGwTreeRowHeight), nullptr);
    EXPECT_EQ(tree_->locate_entry(-1, 0), nullptr);
    EXPECT_EQ(tree_->locate_entry(200, 0), nullptr);
    EXPECT_EQ(gwtest::FindTreeEntry(tree_, "200-CURR")->parent()->id(), "Menu_1");
    EXPECT_EQ(gwtest::FindTreeEntry(tree_, "200-CURR")->user_data().string(), "..\\DRIVEDAT\\M1.00D");
    EXPECT_EQ(gwtest::FindTreeEntry(tree_, "Menu_1")->flags(), 0);
}

TEST_F(Trees, DeletingAnEntryDeletesItsSubtree) {
    GwTreeEntry* group = gwtest::FindTreeEntry(tree_, "Menu_0");
    tree_->select_entry(group->child(1));
    EXPECT_TRUE(tree_->delete_entry(group));
    EXPECT_EQ(g_deleted, (std::vector<std::string>{"Menu_0", "100-SPEED", "101-ACCEL"}));
    EXPECT_EQ(tree_->selected_entry(), nullptr) << "the selection went with its subtree";
    EXPECT_EQ(root_->child_count(), 1);
    EXPECT_EQ(root_->child(0)->id(), "Menu_1");

    // The root too; the tree is empty then.
    EXPECT_TRUE(tree_->delete_entry(root_));
    EXPECT_EQ(g_deleted.size(), 6u);
    EXPECT_EQ(tree_->entries(), nullptr);
    EXPECT_TRUE(tree_->rows().empty());
}

TEST_F(Trees, MovingAnEntryToAnotherTree) {
    GwTree* other = new GwTree("UnusedPara", main_);
    auto* other_root = new FolderEntry("File", "M1");
    other->set_entries(other_root);

    GwTreeEntry* speed = gwtest::FindTreeEntry(tree_, "100-SPEED");
    tree_->select_entry(speed);
    // An entry still in a tree, or a parent of another tree, is refused.
    EXPECT_FALSE(other->add_entry(other_root, speed));
    auto* loose = new ParaEntry("loose");
    EXPECT_FALSE(other->add_entry(root_, loose));
    EXPECT_EQ(loose->parent(), nullptr) << "the refused entry stays the caller's";
    delete loose;
    ASSERT_TRUE(speed->parent()->loose_child(speed));
    EXPECT_EQ(tree_->selected_entry(), nullptr);
    EXPECT_EQ(speed->parent(), nullptr);
    EXPECT_EQ(speed->tree(), nullptr);
    ASSERT_TRUE(other->add_entry(other_root, speed));
    EXPECT_EQ(speed->tree(), other);
    EXPECT_EQ(other_root->child(0), speed);
    // A cycle is refused.
    EXPECT_FALSE(speed->add_child(other_root));

    other->destroy();
    EXPECT_EQ(g_deleted, (std::vector<std::string>{"loose", "File", "100-SPEED"}))
        << "a destroyed tree deletes its entries";
}

TEST_F(Trees, ANewRootReplacesAndDeletesTheOld) {
    auto* fresh = new FolderEntry("Bus", "Bus");
    EXPECT_TRUE(tree_->set_entries(fresh));
    EXPECT_EQ(g_deleted, (std::vector<std::string>{"File", "Menu_0", "100-SPEED", "101-ACCEL", "Menu_1", "200-CURR"}));
    EXPECT_EQ(tree_->entries(), fresh);
    EXPECT_TRUE(tree_->set_entries(fresh)) << "the same root again changes nothing";
    EXPECT_EQ(g_deleted.size(), 6u);
}

TEST_F(Trees, SelectionByTheUserReachesItsCallback) {
    tree_->expand_entry(root_);
    std::vector<GwTreeEntry*> seen;
    tree_->set_callback(
        GwCB_SELECT,
        [](GwCore*, GwEvent* ev, GwUD ud) {
            ud.pointer_as<std::vector<GwTreeEntry*>>()->push_back(static_cast<GwTreeEntry*>(ev->data));
            return 1;
        },
        GwUD(static_cast<void*>(&seen)));
    GwTreeEntry* group = gwtest::FindTreeEntry(tree_, "Menu_1");
    EXPECT_TRUE(tree_->select_entry(root_)) << "the program's selection fires nothing";
    EXPECT_TRUE(seen.empty());
    EXPECT_TRUE(gwtest::SelectTreeEntry(tree_, "Menu_1"));
    EXPECT_EQ(seen, std::vector<GwTreeEntry*>{group});
    EXPECT_EQ(tree_->selected_entry(), group);
    tree_->disable();
    EXPECT_FALSE(tree_->user_select(root_));
    EXPECT_EQ(seen.size(), 1u);
}

TEST_F(Trees, RedrawOffWhileRebuilding) {
    size_t before = gwtest::Effects("redraw").size();
    tree_->set_redraw(false);
    tree_->expand_entry(root_);
    tree_->add_entry(root_, new FolderEntry("Menu_2", "Menu_2"));
    EXPECT_EQ(gwtest::Effects("redraw").size(), before);
    tree_->set_redraw(true);
    ASSERT_EQ(gwtest::Effects("redraw").size(), before + 1);
    EXPECT_EQ(gwtest::Effects("redraw").back().value, "4");
}

}  // namespace
}  // namespace kinds_test
