// The playlist on the real tree control in a skin-built window: nodes in list order with the
// playlist's look, the playing mark, the delete button's message, activation, hover, selection and
// scrolling.
#include "framework/playlist_tree_view.h"

#include <gtest/gtest.h>

#include <QImage>

#include "settings/application_context.h"
#include "support/framework_test_window.h"
#include "support/temp_dir.h"
#include "ui/playlist_host.h"
#include "ui/playlist_manager.h"
#include "ui/playlist_tree_binding.h"

namespace korvane {
namespace {

using DuiLib::CPlayListNodeUI;
using DuiLib::CPlayListTreeViewUI;
using DuiLib::RECT;
using test::PumpUntil;
using test::TestSkinWindow;

constexpr const char* kSkin = R"(<Window size="320,200"><VerticalLayout bkcolor="#FF1B1D22">
  <PlayListTreeView name="treePlaylist" bkcolor="#FF1B1D22" itemhotbkcolor="#FF2B2E36"
                    itemselectedbkcolor="#FF33405A"/>
</VerticalLayout></Window>)";

QPoint Center(const RECT& rc) {
  return {(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2};
}

void DoubleClick(QWidget* widget, QPoint at) {
  test::MouseClick(widget, at);
  test::SendMouse(widget, QEvent::MouseButtonDblClick, at, Qt::LeftButton, Qt::LeftButton);
  test::MouseRelease(widget, at);
}

class PlaylistTreeTest : public testing::Test {
 protected:
  void SetUp() override {
    korvane::SetWindowMessageDispatcher(&DuiLib::CWindowMessageDispatcher::Instance());
    ASSERT_NE(window.CreateHidden(), 0u);
    window.ResizeClient(320, 200);
    tree = DuiLib::FindControlAs<CPlayListTreeViewUI>(window.m_PaintManager, "treePlaylist");
    ASSERT_NE(tree, nullptr);
    context.settingsPath = settingsDir.str() + "Velmora.ini";
    binding = std::make_unique<PlaylistTreeBinding>(tree);
    manager = std::make_unique<CPlaylistManager>(host, binding.get());
    manager->LoadPlaylistOptions();
  }

  void LoadFolder(std::initializer_list<const char*> names, const char* current) {
    for (const char* name : names) std::ofstream(dir.path() / name);
    manager->LoadFolderOf(current, dir.str());
    window.m_PaintManager.UpdateLayout(true);
  }

  std::vector<std::string> NodeTexts() const {
    std::vector<std::string> texts;
    for (int i = 0; i < tree->GetCount(); ++i) texts.push_back(tree->GetNodeAt(i)->GetItemText());
    return texts;
  }

  std::vector<std::string> EntryNames() const {
    std::vector<std::string> names;
    for (const auto& entry : manager->playlist().entries()) names.push_back(entry->fileName);
    return names;
  }

  std::vector<int> PlayingNodes() const {
    std::vector<int> playing;
    for (int i = 0; i < tree->GetCount(); ++i) {
      if (tree->GetNodeAt(i)->IsPlaying()) playing.push_back(i);
    }
    return playing;
  }

  DuiLib::CControlUI* LastActivated() const {
    for (auto note = window.notes.rbegin(); note != window.notes.rend(); ++note) {
      if (note->sType == "itemactivate") return note->pSender;
    }
    return nullptr;
  }

  int CountDeleteMessages(DuiLib::WPARAM index) const {
    int count = 0;
    for (const auto& m : window.messages) {
      count += m.message == korvane::WM_PLAYLIST_DELETE && m.wParam == index ? 1 : 0;
    }
    return count;
  }

  test::TempDir dir;
  TestSkinWindow window{kSkin};
  CPlayListTreeViewUI* tree = nullptr;
  test::TempDir settingsDir;
  ApplicationContext context;
  AppPlaylistHost host{context};
  std::unique_ptr<PlaylistTreeBinding> binding;
  std::unique_ptr<CPlaylistManager> manager;
};

TEST_F(PlaylistTreeTest, NodesShowTheEntriesInListOrderWithThePlaylistLook) {
  LoadFolder({"c.mp4", "B.mp4", "a.MP4", "中文 \"q\".mp4"}, "c.mp4");
  EXPECT_EQ(NodeTexts(), EntryNames());
  EXPECT_EQ(NodeTexts(), (std::vector<std::string>{"B.mp4", "a.MP4", "c.mp4", "中文 \"q\".mp4"}));
  for (int i = 0; i < tree->GetCount(); ++i) {
    CPlayListNodeUI* node = tree->GetNodeAt(i);
    EXPECT_EQ(node->GetToolTip(), node->GetItemText());
    EXPECT_EQ(node->GetFixedHeight(), 22);
    EXPECT_EQ(node->GetItemTextColor(), 0xFFC8C6CBu);
    EXPECT_EQ(node->GetItemPlayingTextColor(), 0x000080FFu);
    RECT button = node->GetDeleteButtonRect();
    EXPECT_EQ(button.right - button.left, 18);
    EXPECT_EQ(button.bottom - button.top, 18);
  }
  EXPECT_EQ(PlayingNodes(), std::vector<int>{2});
  EXPECT_EQ(tree->GetCurSel(), 2);

  manager->SelectPrevious();
  EXPECT_EQ(PlayingNodes(), std::vector<int>{1});
  EXPECT_EQ(tree->GetCurSel(), 1);
}

TEST_F(PlaylistTreeTest, DeleteButtonPostsMessage1124WithTheNodesIndex) {
  LoadFolder({"0.mp4", "1.mp4", "2.mp4"}, "1.mp4");
  QWidget* widget = window.GetWidget();
  EXPECT_EQ(tree->GetDeleteItemIndex(), -1);

  test::MouseClick(widget, Center(tree->GetNodeAt(2)->GetDeleteButtonRect()));
  ASSERT_TRUE(PumpUntil([&] { return CountDeleteMessages(2) == 1; }));
  EXPECT_EQ(tree->GetDeleteItemIndex(), 2);
  EXPECT_EQ(tree->GetCount(), 3);  // the tree itself removes nothing; the window's handler does

  // What the main window does on 1124.
  EXPECT_EQ(manager->DeleteClickedEntry(), 0);
  EXPECT_EQ(NodeTexts(), (std::vector<std::string>{"0.mp4", "1.mp4"}));
  EXPECT_EQ(PlayingNodes(), std::vector<int>{1});

  window.m_PaintManager.UpdateLayout(true);
  test::MouseClick(widget, Center(tree->GetNodeAt(1)->GetDeleteButtonRect()));
  ASSERT_TRUE(PumpUntil([&] { return CountDeleteMessages(1) == 1; }));
  EXPECT_EQ(manager->DeleteClickedEntry(), 1);
  EXPECT_EQ(NodeTexts(), std::vector<std::string>{"0.mp4"});
  EXPECT_EQ(PlayingNodes(), std::vector<int>{0});
  EXPECT_EQ(EntryNames(), NodeTexts());
}

TEST_F(PlaylistTreeTest, ReleaseAwayFromTheDeleteButtonDeletesNothing) {
  LoadFolder({"0.mp4", "1.mp4"}, "0.mp4");
  QWidget* widget = window.GetWidget();
  QPoint button = Center(tree->GetNodeAt(0)->GetDeleteButtonRect());
  test::MousePress(widget, button);
  test::MouseMoveHeld(widget, button - QPoint(100, 0));
  test::MouseRelease(widget, button - QPoint(100, 0));
  QApplication::processEvents();
  EXPECT_EQ(CountDeleteMessages(0), 0);
  EXPECT_EQ(tree->GetDeleteItemIndex(), -1);
}

TEST_F(PlaylistTreeTest, DoubleClickAndEnterActivateTheNode) {
  LoadFolder({"0.mp4", "1.mp4", "2.mp4"}, "0.mp4");
  QWidget* widget = window.GetWidget();
  RECT node = tree->GetNodeAt(1)->GetPos();
  DoubleClick(widget, {node.left + 20, (node.top + node.bottom) / 2});
  ASSERT_EQ(window.CountNotes("itemactivate"), 1);
  int index = tree->GetItemIndex(LastActivated());
  EXPECT_EQ(index, 1);
  EXPECT_EQ(tree->GetCurSel(), 1);
  manager->ActivateEntry(index);
  EXPECT_EQ(PlayingNodes(), std::vector<int>{1});

  test::KeyClick(widget, Qt::Key_Down);
  EXPECT_EQ(tree->GetCurSel(), 2);
  test::KeyClick(widget, Qt::Key_Return);
  ASSERT_EQ(window.CountNotes("itemactivate"), 2);
  EXPECT_EQ(tree->GetItemIndex(LastActivated()), 2);
}

TEST_F(PlaylistTreeTest, HoverAndSelectionAreVisible) {
  LoadFolder({"0.mp4", "1.mp4", "2.mp4"}, "0.mp4");
  manager->ActivateEntry(-1);
  tree->SelectItem(2);
  QWidget* widget = window.GetWidget();
  RECT hovered = tree->GetNodeAt(1)->GetPos();
  test::SendMouse(widget, QEvent::MouseMove, {hovered.left + 3, hovered.top + 3}, Qt::NoButton,
                  Qt::NoButton);
  EXPECT_TRUE(tree->GetNodeAt(1)->IsHot());

  QImage shot = widget->grab().toImage();
  auto pixel = [&](int index, int x) {
    RECT pos = tree->GetNodeAt(index)->GetPos();
    return shot.pixel(pos.left + x, pos.top + 2) & 0xFFFFFF;
  };
  EXPECT_EQ(pixel(0, 5), 0x1B1D22u);
  EXPECT_EQ(pixel(1, 5), 0x2B2E36u);
  EXPECT_EQ(pixel(2, 5), 0x33405Au);
  EXPECT_EQ(pixel(2, 1), 0x3D8BFFu);  // the selection's accent bar
  EXPECT_EQ(pixel(1, 1), 0x2B2E36u);
}

TEST_F(PlaylistTreeTest, LongListsScrollAndOnlyVisibleNodesTakeTheMouse) {
  for (int i = 0; i < 40; ++i) {
    char name[16];
    std::snprintf(name, sizeof name, "%02d.mp4", i);
    std::ofstream(dir.path() / name);
  }
  manager->LoadFolderOf("00.mp4", dir.str());
  window.m_PaintManager.UpdateLayout(true);
  ASSERT_GT(tree->GetScrollRange(), 0);
  EXPECT_EQ(tree->GetScrollPos(), 0);

  manager->ActivateEntry(39);
  manager->LoadFolderOf("39.mp4", dir.str());  // selects node 39, which scrolls it into view
  EXPECT_EQ(tree->GetScrollPos(), tree->GetScrollRange());
  RECT last = tree->GetNodeAt(39)->GetPos();
  EXPECT_LE(last.bottom, tree->GetPos().bottom);
  QPoint inLast{last.left + 10, (last.top + last.bottom) / 2};
  EXPECT_EQ(window.m_PaintManager.FindControl(DuiLib::POINT{inLast.x(), inLast.y()}),
            tree->GetNodeAt(39));

  test::SendMouse(window.GetWidget(), QEvent::MouseMove, inLast, Qt::NoButton, Qt::NoButton);
  QWheelEvent wheel(QPointF(inLast), QPointF(window.GetWidget()->mapToGlobal(inLast)), QPoint(),
                    QPoint(0, 120), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
  QApplication::sendEvent(window.GetWidget(), &wheel);
  EXPECT_LT(tree->GetScrollPos(), tree->GetScrollRange());
}

}  // namespace
}  // namespace korvane
