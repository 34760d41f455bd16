#pragma once

#include "serial/ComSelect.h"

#include <QDialog>
#include <array>

class QGroupBox;
class QLabel;
class QPushButton;
class TComComboBox;
class TCustomComPort;

// The modal dialog in which the operator picks a port's name and line settings. It
// never touches the port by itself: LoadFromPort shows the port's values, and
// ApplyToPort writes the picks, all inside one settings update.
class TComSetupFrm : public QDialog
{
    Q_OBJECT

public:
    // Builds the lists; the port list raises EComPort code 23 when the system cannot
    // tell which ports exist.
    explicit TComSetupFrm(QWidget *parent = nullptr);

    // Links the port to every list and shows its current values.
    void LoadFromPort(TCustomComPort &port);

    // Writes every list's pick into the port in list order. The update ends also when an
    // apply raises; the lists after the failing one are not applied.
    void ApplyToPort(TCustomComPort &port);

    QGroupBox *GroupBox1;
    QLabel *Label1;
    QLabel *Label2;
    QLabel *Label3;
    QLabel *Label4;
    QLabel *Label5;
    QLabel *Label6;
    TComComboBox *Combo1;
    TComComboBox *Combo2;
    TComComboBox *Combo3;
    TComComboBox *Combo4;
    TComComboBox *Combo5;
    TComComboBox *Combo6;
    QPushButton *Button1;
    QPushButton *Button2;

private:
    QLabel *addLabel(const char *objectName, const QString &text, int top);
    TComComboBox *addCombo(const char *objectName, TComProperty kind, int top);
    QPushButton *addButton(const char *objectName, const QString &text, int left);
    void setTabOrder();
    void centreOnScreen();
    std::array<TComComboBox *, 6> combos() const;
};
