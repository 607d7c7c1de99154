#include <gtest/gtest.h>

#include <QLineEdit>
#include <QtTest/QTest>

#include "ui/controls/IpAddressEdit.h"

namespace {

TEST(IpAddressEditTest, TypingFillsFourFieldsOfZeroTo255) {
    const std::pair<const char*, const char*> cases[] = {
        {"", "0.0.0.0 blank"},
        {"192.168.1.20", "192.168.1.20"},
        {"1921681", "192.168.1.0"},  // a third digit moves on
        {"300", "255.0.0.0"},
        {"1a.b2", "1.2.0.0"},
        {"..5", "5.0.0.0"},  // a dot in an empty field stays there
        {"1.2.3.4.5", "1.2.3.45"},
        {"12.\b\b\b7", "7.0.0.0"},  // Backspace in an empty field goes back
        {"0.0.0.0", "0.0.0.0"},
    };
    for (const auto& [keys, text] : cases) {
        IpAddressEdit edit;
        edit.show();
        edit.setFocus();
        for (const char* key = keys; *key != '\0'; ++key) {
            QWidget* field = edit.focusWidget();
            if (*key == '\b') QTest::keyClick(field, Qt::Key_Backspace);
            if (*key != '\b') QTest::keyClicks(field, QString(QLatin1Char(*key)));
        }
        EXPECT_EQ(edit.text() + (edit.isBlank() ? " blank" : ""), text) << keys;
    }
}

TEST(IpAddressEditTest, SetTextKeepsOnlyWellFormedParts) {
    const std::pair<const char*, const char*> cases[] = {
        {"10.0.0.1", "10.0.0.1"},   {"", "0.0.0.0 blank"},      {"1.2", "1.2.0.0"},
        {"300.1.1.1", "255.1.1.1"}, {"a.1.-2.1234", "0.1.0.0"}, {"a.b.c.d", "0.0.0.0 blank"},
    };
    IpAddressEdit edit;
    for (const auto& [in, text] : cases) {
        edit.setText(QString::fromLatin1(in));
        EXPECT_EQ(edit.text() + (edit.isBlank() ? " blank" : ""), text) << in;
    }
}

}  // namespace
