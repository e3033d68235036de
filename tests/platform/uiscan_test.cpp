// Reading panel definitions for identities, as the loader and the header
// generator both do: layouts between widgets change nothing.
#include "platform/internal/uiscan.h"

#include <gtest/gtest.h>

namespace {

const char kNested[] = R"(<?xml version="1.0" encoding="UTF-8"?>
<ui version="4.0">
 <widget class="QWidget" name="NP">
  <property name="resource" stdset="0"><number> 9 </number></property>
  <layout class="QVBoxLayout" name="outer">
   <property name="kind" stdset="0"><string>not a widget</string></property>
   <item>
    <layout class="QGridLayout" name="grid">
     <item row="0" column="0">
      <widget class="QFrame" name="Box">
       <layout class="QHBoxLayout" name="inner">
        <item><widget class="QLabel" name="Cap"/></item>
        <item><widget class="QPushButton" name="Go">
         <property name="kind" stdset="0"><string>command</string></property></widget></item>
       </layout>
       <property name="kind" stdset="0"><string>decoration</string></property>
      </widget>
     </item>
     <item row="0" column="1"><spacer name="gap"/></item>
    </layout>
   </item>
   <item><widget class="QLabel" name="Disp">
    <property name="kind" stdset="0"><string>indicator</string></property></widget></item>
  </layout>
 </widget>
</ui>)";

}  // namespace

TEST(PanelScan, NestedLayoutsKeepDocumentOrderAndOnlyWidgetsCount) {
    uiscan::PanelDeclaration d;
    ASSERT_TRUE(uiscan::ScanPanel(kNested, &d));
    EXPECT_EQ(d.panelName, QStringLiteral("NP"));
    EXPECT_EQ(d.resource, 9);
    // A kind after the widget's children still makes it a control, numbered
    // where the widget starts; the layout's own kind property makes nothing.
    const std::vector<QString> want = {"Box", "Go", "Disp"};
    EXPECT_EQ(d.controls, want);
}

TEST(PanelScan, BrokenOrEmptyDefinitionsAreRefusedWithAReason) {
    uiscan::PanelDeclaration d;
    QString why;
    EXPECT_FALSE(uiscan::ScanPanel("<ui><widget name=\"P\"><property name=\"kind\">", &d, &why));
    EXPECT_FALSE(why.isEmpty());
    why.clear();
    EXPECT_FALSE(uiscan::ScanPanel("<ui version=\"4.0\"/>", &d, &why));
    EXPECT_FALSE(why.isEmpty());
    ASSERT_TRUE(uiscan::ScanPanel("<ui><widget class=\"QWidget\" name=\"P\"/></ui>", &d));
    EXPECT_EQ(d.resource, -1);
    EXPECT_TRUE(d.controls.empty());
}
