#include "ui/form.h"

#include <gtest/gtest.h>

#include <thread>

#include "support/manual_loop.h"
#include "ui/timers.h"

namespace kad::ui {
namespace {

TEST(FormLayer, CheckingFromCodeFiresTheClickHandlerLikeAUserClick) {
  Form form("F");
  auto& box = form.add(ControlKind::CheckBox, "chk");
  int clicks = 0;
  box.onClick = [&] { ++clicks; };
  box.setChecked(true);
  EXPECT_EQ(clicks, 1);
  box.setChecked(true);  // no change, no click
  EXPECT_EQ(clicks, 1);
  box.click();  // the operator unchecks it
  EXPECT_FALSE(box.checked());
  EXPECT_EQ(clicks, 2);
  box.setEnabled(false);
  box.click();  // a disabled box ignores the operator
  EXPECT_EQ(clicks, 2);
  box.setChecked(true);  // but not the program
  EXPECT_EQ(clicks, 3);
}

TEST(FormLayer, RadioButtonsAreExclusiveWithinTheirGroupAndClickWhenChecked) {
  Form form("F");
  auto& a = form.add(ControlKind::GroupBox, "A");
  auto& b = form.add(ControlKind::GroupBox, "B");
  auto& a1 = form.add(ControlKind::RadioButton, "a1", &a);
  auto& a2 = form.add(ControlKind::RadioButton, "a2", &a);
  auto& b1 = form.add(ControlKind::RadioButton, "b1", &b);
  std::vector<std::string> clicks;
  for (auto* r : {&a1, &a2, &b1}) r->onClick = [&clicks, r] { clicks.push_back(r->name()); };
  a1.setChecked(true);
  b1.setChecked(true);
  a2.click();
  EXPECT_FALSE(a1.checked());
  EXPECT_TRUE(a2.checked());
  EXPECT_TRUE(b1.checked());
  a2.setChecked(false);  // unchecking fires nothing
  EXPECT_EQ(clicks, (std::vector<std::string>{"a1", "b1", "a2"}));
}

TEST(FormLayer, EditsFireChangeOnEveryNewTextAndApplyTheirLimitsToTyping) {
  Form form("F");
  auto& edit = form.add(ControlKind::Edit, "e");
  edit.setUpperCase(true);
  edit.setMaxLength(3);
  std::vector<std::string> seen;
  edit.onChange = [&] { seen.push_back(edit.text()); };
  edit.userSetText("abcd");
  edit.setText("ABC");  // same text: no change
  edit.setText("");
  edit.userSetText("çãé!");  // characters, not bytes, count
  EXPECT_EQ(seen, (std::vector<std::string>{"ABC", "", "çãé"}));
}

TEST(FormLayer, ChangesFromAnyThreadReachTheObserverInOrderAndHandlersRunUnlocked) {
  Form form("F");
  auto& list = form.add(ControlKind::ListBox, "list");
  auto& label = form.add(ControlKind::Label, "label");
  std::vector<int> counts;
  std::mutex mutex;
  form.addObserver([&](Control& c, Property p) {
    if (&c == &list && p == Property::Items) {
      std::lock_guard lock(mutex);
      counts.push_back(c.itemCount());  // reading the control from the observer must not deadlock
    }
  });
  label.onClick = [&] { label.setCaption("clicked " + std::to_string(list.itemCount())); };
  std::thread worker([&] {
    for (int i = 0; i < 200; ++i) list.addItem("w" + std::to_string(i));
  });
  for (int i = 0; i < 200; ++i) list.addItem("m" + std::to_string(i));
  worker.join();
  label.click();
  EXPECT_EQ(list.itemCount(), 400);
  EXPECT_EQ(label.caption(), "clicked 400");
  ASSERT_EQ(counts.size(), 400u);
  EXPECT_EQ(counts.back(), 400);
}

TEST(FormLayer, GridCellsOutsideTheGridAreIgnored) {
  Form form("F");
  auto& grid = form.add(ControlKind::StringGrid, "g");
  grid.setColCount(2);
  grid.setRowCount(2);
  grid.setCell(1, 1, "x");
  grid.setCell(2, 0, "outside");
  grid.setCell(0, -1, "outside");
  EXPECT_EQ(grid.cell(1, 1), "x");
  EXPECT_EQ(grid.cell(2, 0), "");
  grid.setRowCount(1);
  EXPECT_EQ(grid.cell(1, 1), "");
}

TEST(FormLayer, TimerControlsRunOnTheLoopWhileEnabled) {
  Form form("F");
  test::ManualLoop loop;
  auto& timer = form.add(ControlKind::Timer, "t");
  timer.setEnabled(false);
  timer.setInterval(1000);
  int ticks = 0;
  timer.onTimer = [&] { ++ticks; };
  bindTimers(form, loop);
  loop.advance(std::chrono::milliseconds(5000));
  EXPECT_EQ(ticks, 0);
  timer.setEnabled(true);
  loop.advance(std::chrono::milliseconds(3500));
  EXPECT_EQ(ticks, 3);
  timer.setEnabled(false);
  loop.advance(std::chrono::milliseconds(3000));
  EXPECT_EQ(ticks, 3);
}

}  // namespace
}  // namespace kad::ui
