// Test entry: a headless QApplication so fonts, images and widgets work, and
// message boxes that fail the test unless a test scripts them.
#include "support/scripted_dialogs.h"
#include "support/scripted_forms.h"

#include <QApplication>
#include <gtest/gtest.h>

#include <cstdlib>

int main(int argc, char** argv)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    FailOnUnexpectedMessageBoxes();
    FailOnUnexpectedDialogs();
    return RUN_ALL_TESTS();
}
