// Reading a panel definition for its identities, without building any
// widget, so that the build-time generator can use it too.
#include "platform/internal/uiscan.h"

#include <QXmlStreamReader>

namespace uiscan {
namespace {

// One open element: whether it is a widget, and which declared widget it is.
struct Open {
    bool isWidget = false;
    int index = -1;  // into the widgets seen so far; -1 for the panel itself
};

bool Fail(QString* error, const QString& why) {
    if (error) *error = why;
    return false;
}

}  // namespace

bool ScanPanel(const QByteArray& xml, PanelDeclaration* out, QString* error) {
    *out = PanelDeclaration();
    QXmlStreamReader r(xml);
    std::vector<Open> open;
    std::vector<QString> widgets;  // every widget below the panel, in document order
    std::vector<bool> isControl;
    bool havePanel = false;
    while (!r.atEnd()) {
        r.readNext();
        if (r.isEndElement()) {
            if (!open.empty()) open.pop_back();
            continue;
        }
        if (!r.isStartElement()) continue;
        const Open parent = open.empty() ? Open() : open.back();
        Open self;
        if (r.name() == QLatin1String("widget")) {
            self.isWidget = true;
            QString name = r.attributes().value(QLatin1String("name")).toString();
            if (!havePanel) {
                havePanel = true;
                out->panelName = name;
            } else {
                self.index = static_cast<int>(widgets.size());
                widgets.push_back(name);
                isControl.push_back(false);
            }
        } else if (r.name() == QLatin1String("property") && parent.isWidget) {
            // Only a widget's own properties count, never those of a layout.
            const auto prop = r.attributes().value(QLatin1String("name"));
            if (prop == QLatin1String("kind") && parent.index >= 0) {
                isControl[parent.index] = true;
            } else if (prop == QLatin1String("resource") && parent.index < 0) {
                while (r.readNextStartElement()) {
                    if (r.name() == QLatin1String("number")) {
                        bool ok = false;
                        int v = r.readElementText().trimmed().toInt(&ok);
                        if (ok && v >= 0) out->resource = v;
                    } else {
                        r.skipCurrentElement();
                    }
                }
                continue;  // the property's end is read: nothing left open
            }
        } else if (r.name() == QLatin1String("tabstop")) {
            if (out->firstTabStop.isEmpty()) {
                out->firstTabStop = r.readElementText().trimmed();
            } else {
                r.skipCurrentElement();
            }
            continue;  // its end is read: nothing left open
        }
        open.push_back(self);
    }
    if (r.hasError()) {
        return Fail(error, QStringLiteral("line %1: %2").arg(r.lineNumber()).arg(r.errorString()));
    }
    if (!havePanel) return Fail(error, QStringLiteral("no widget"));
    for (size_t i = 0; i < widgets.size(); ++i) {
        if (isControl[i]) out->controls.push_back(widgets[i]);
    }
    return true;
}

}  // namespace uiscan
