// Reading a panel definition (a Qt Designer file) for its identities: the
// panel's name and resource number and its controls in document order
// (and where its tab order starts).
// Shared by the panel loader and the build-time generator of the identity
// header, so that the two always number controls alike. Qt Core only.
#pragma once
#include <QByteArray>
#include <QString>
#include <vector>

namespace uiscan {

struct PanelDeclaration {
    QString panelName;              // object name of the top-level widget
    int resource = -1;              // its `resource` property; -1 when it has none
    std::vector<QString> controls;  // object names in document order
    QString firstTabStop;           // where the file's tab order starts; empty without one
};

// The rule: the top-level widget is the panel; every widget inside it that
// carries a `kind` property of its own is a control, numbered from 1 in
// document order. Layouts and their items may sit between widgets. False
// (with a reason) when the XML is broken or holds no widget.
bool ScanPanel(const QByteArray& xml, PanelDeclaration* out, QString* error = nullptr);

}  // namespace uiscan
