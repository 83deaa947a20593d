// Runs a dialog as the user sees it, without a script: act is handed the
// dialog once it shows. One still open after ten seconds is closed, so the
// run never hangs.
#pragma once

#include "dialogs/dlgform.h"

#include <QApplication>
#include <QDialog>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>

template <class Run>
auto WithRealDialog(const std::function<void(QDialog&)>& act, Run run)
{
    const DialogScript previous = SetDialogScript({});
    QTimer::singleShot(0, [&] {
        auto* dlg = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dlg, nullptr);
        act(*dlg);
    });
    QTimer guard;
    guard.setSingleShot(true);
    QObject::connect(&guard, &QTimer::timeout, [] {
        if (QWidget* w = QApplication::activeModalWidget())
            w->close();
    });
    guard.start(10000);
    const auto result = run();
    SetDialogScript(previous);
    return result;
}
