// The caption loader on real widgets: every kind of control a window names
// in its caption table takes its text, tabs by index, the title with its
// suffix.

#include "ui/XianShiCE.h"

#include <QAction>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTabBar>
#include <QWidget>
#include <gtest/gtest.h>

using korvel::app::CaptionText;
using korvel::ui::ApplyCaption;

TEST(XianShiCE, EveryKindOfControlTakesItsCaptionByName) {
    QWidget window;
    auto* button = new QPushButton(&window);
    button->setObjectName("Command_Run");
    auto* check = new QCheckBox(&window);
    check->setObjectName("Check1");
    auto* label = new QLabel(&window);
    label->setObjectName("Label1_8");
    auto* frame = new QGroupBox(&window);
    frame->setObjectName("Frame1");
    auto* tabs = new QTabBar(&window);
    tabs->setObjectName("TabStrip1");
    tabs->addTab("控制");
    tabs->addTab("设置");
    auto* bar = new QMenuBar(&window);
    auto* menu = bar->addMenu("文件");
    menu->setObjectName("mnuFile");
    auto* open = menu->addAction("打开");
    open->setObjectName("mnuOpen");

    const std::vector<CaptionText> captions = {
        {"title", "Bending machine"}, {"Command_Run", "Run"}, {"Check1", "Single step:"},
        {"Label1_8", "File:"},        {"Frame1", "Feed"},     {"TabStrip1#1", "Setup"},
        {"mnuFile", "File"},          {"mnuOpen", "Open"},    {"TabStrip1#5", "nothing"},
        {"NoSuchControl", "ignored"}};
    for (const auto& caption : captions) {
        ApplyCaption(window, caption, " 1.2.3");
    }
    EXPECT_EQ(window.windowTitle(), "Bending machine 1.2.3");
    EXPECT_EQ(button->text(), "Run");
    EXPECT_EQ(check->text(), "Single step:");
    EXPECT_EQ(label->text(), "File:");
    EXPECT_EQ(frame->title(), "Feed");
    EXPECT_EQ(tabs->tabText(0), "控制");
    EXPECT_EQ(tabs->tabText(1), "Setup");
    EXPECT_EQ(menu->title(), "File");
    EXPECT_EQ(open->text(), "Open");
}
