#pragma once

#include "serial/ComComboBox.h"

#include <QTest>
#include <gtest/gtest.h>

// Picks an item with the keyboard, as the operator would.
inline void pick(TComComboBox *combo, const QString &text)
{
    const int target = combo->findText(text);
    ASSERT_GE(target, 0) << text.toStdString();
    QTest::keyClick(combo, Qt::Key_Home);
    for (int step = 0; step < target; ++step)
        QTest::keyClick(combo, Qt::Key_Down);
    ASSERT_EQ(combo->Text(), text);
}
