#pragma once

#include <QWidget>

// The about window: the program's name and version and the maker's lines. Created hidden
// at start-up and only hidden again by its close button.
class TForm2 : public QWidget
{
    Q_OBJECT

public:
    explicit TForm2(QWidget *parent = nullptr);
};
