// The port chooser dialog (see PortChooserPopup in platform/ports.h),
// exposed here so that tests can drive and picture it.
#pragma once

#include <QDialog>
#include <string>
#include <vector>

#include "platform/ports.h"

class QLabel;
class QPushButton;
class QSpinBox;
class QTreeWidget;

class PortDialog : public QDialog {
public:
    PortDialog(int current, const char* help, QWidget* parent = nullptr);
    // The COM number "Use" chose; 0 until then.
    int Chosen() const { return chosen_; }
    // Scans again and shows the result.
    void Refresh();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void LinkSelected();
    void UnlinkChosen();
    void Use();
    void Say(const std::string& text);

    std::vector<SerialDevice> devices_;
    QTreeWidget* deviceList_;
    QTreeWidget* linkList_;
    QSpinBox* com_;
    QLabel* message_;
    QLabel* inUse_;
    QPushButton* useButton_;
    std::string help_;
    int chosen_ = 0;
    int current_;  // the COM number in use when the chooser opened
};
