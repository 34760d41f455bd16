#pragma once

#include "app/Form1.h"
#include "app/RecordMenu.h"
#include "serial/ComPort.h"
#include "tests/support/PtyPair.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <optional>

// The window on a board of its own (a pseudo-terminal), with the recording menu's file
// dialog answered by `path`, a file named `name` in a scratch folder.
class RecordingWindow : public testing::Test
{
protected:
    explicit RecordingWindow(const QString &name) : path(dir.filePath(name))
    {
        form.ComPort1->setPort(board.slavePath());
        form.recordMenu().setChooser([this](const QString &, QWidget *) { return std::optional(path); });
    }

    PtyPair board;
    TForm1 form;
    QTemporaryDir dir;
    QString path;
};
