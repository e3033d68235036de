// Without a script the real dialogs show; an operator (here a timer)
// answers them.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <functional>

#include "platform/testing.h"
#include "platform/ui.h"
#include "tp_ids.h"

namespace {

void Fail(const seam::Popup& p) {
    ADD_FAILURE() << "unexpected popup: " << p.title;
}

// Acts on the dialog as soon as it is open; gives up (rejecting) after two seconds.
class Operator {
public:
    explicit Operator(std::function<void(QDialog*)> act) : act_(std::move(act)) {
        timer_.setInterval(10);
        QObject::connect(&timer_, &QTimer::timeout, [this] {
            auto* d = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            if (!d) {
                if (++tries_ > 200) timer_.stop();
                return;
            }
            timer_.stop();
            acted_ = true;
            act_(d);
            // A failed check inside the action must not leave the test waiting.
            QTimer::singleShot(500, d, [d] { d->reject(); });
        });
        timer_.start();
    }
    bool acted() const { return acted_; }

private:
    std::function<void(QDialog*)> act_;
    QTimer timer_;
    int tries_ = 0;
    bool acted_ = false;
};

class Dialogs : public testing::Test {
protected:
    void SetUp() override { seam::Uninstall(); }
    void TearDown() override {
        seam::Install();
        seam::SetUnexpectedHandler(Fail);
    }
};

}  // namespace

TEST_F(Dialogs, ConfirmAndMessageShowAndReturnTheOperatorsAnswer) {
    Operator yes([](QDialog* d) {
        auto* box = qobject_cast<QMessageBox*>(d);
        ASSERT_TRUE(box);
        EXPECT_EQ(box->windowTitle(), QStringLiteral("ATTENTION!"));
        EXPECT_EQ(box->text(), QStringLiteral("Overwrite?"));
        EXPECT_EQ(box->textFormat(), Qt::PlainText);
        box->button(QMessageBox::Yes)->click();
    });
    EXPECT_EQ(ConfirmPopup("ATTENTION!", "Overwrite?"), 1);
    EXPECT_TRUE(yes.acted());

    Operator no([](QDialog* d) { qobject_cast<QMessageBox*>(d)->button(QMessageBox::No)->click(); });
    EXPECT_EQ(ConfirmPopup("ATTENTION!", "Overwrite?"), 0);

    // Markup-looking text is shown as it is, in both kinds of popup.
    Operator ok([](QDialog* d) {
        EXPECT_EQ(qobject_cast<QMessageBox*>(d)->textFormat(), Qt::PlainText);
        d->accept();
    });
    EXPECT_EQ(MessagePopup("INFO!", "<b>text</b>"), 0);
    EXPECT_TRUE(ok.acted());
}

TEST_F(Dialogs, FileSelectionTellsExistingFromNewAndKeepsTheExtension) {
    QTemporaryDir dir;
    QFile existing(dir.filePath(QStringLiteral("old.dat")));
    ASSERT_TRUE(existing.open(QIODevice::WriteOnly));
    existing.close();
    QByteArray where = dir.path().toLocal8Bit();
    char path[260];

    Operator pickOld([](QDialog* d) {
        auto* fd = qobject_cast<QFileDialog*>(d);
        ASSERT_TRUE(fd);
        EXPECT_TRUE(fd->testOption(QFileDialog::DontUseNativeDialog));
        EXPECT_EQ(fd->windowTitle(), QStringLiteral("FILENAME!"));
        fd->selectFile(QStringLiteral("old.dat"));
        d->accept();  // as the accept button does
    });
    EXPECT_EQ(FileSelectPopup(where.constData(), "record.dat", "*.dat", "FILENAME!", VAL_OK_BUTTON, 0, 1, 1,
                              1, path),
              1);
    EXPECT_EQ(QString::fromLocal8Bit(path),
              QDir::toNativeSeparators(dir.filePath(QStringLiteral("old.dat"))));

    Operator typeNew([](QDialog* d) {
        auto* name = d->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));  // typed by the operator
        ASSERT_TRUE(name);
        name->setText(QStringLiteral("fresh"));
        d->accept();  // as the accept button does
    });
    EXPECT_EQ(FileSelectPopup(where.constData(), "record.dat", "*.dat", "FILENAME!", VAL_OK_BUTTON, 0, 1, 1,
                              1, path),
              2);
    EXPECT_EQ(QString::fromLocal8Bit(path),
              QDir::toNativeSeparators(dir.filePath(QStringLiteral("fresh.dat"))));

    Operator cancel([](QDialog* d) { d->reject(); });
    EXPECT_EQ(FileSelectPopup(where.constData(), "record.dat", "*.dat", "FILENAME!", VAL_OK_BUTTON, 0, 1, 1,
                              1, path),
              0);
    EXPECT_STREQ(path, "");
}

// A popup opens over its panel, not in the middle of the screen: over the
// panel shown last, and over the earlier one once that is hidden.
TEST_F(Dialogs, PopupsOpenCentredOverTheirPanel) {
    int a = LoadPanel(0, "test_platform.uir", TP);
    int b = LoadPanel(0, "test_platform.uir", TP);
    ASSERT_GT(a, 0);
    ASSERT_GT(b, 0);
    QWidget* windows[2] = {};
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (w->property("corvelHandle").toInt() == a) windows[0] = w;
        if (w->property("corvelHandle").toInt() == b) windows[1] = w;
    }
    ASSERT_TRUE(windows[0] && windows[1]);
    windows[0]->setGeometry(20, 20, 360, 260);
    windows[1]->setGeometry(420, 300, 360, 260);
    DisplayPanel(a);
    DisplayPanel(b);
    for (int i = 1; i >= 0; --i) {
        QPoint centre = windows[i]->geometry().center();
        Operator check([centre](QDialog* d) {
            EXPECT_LE((d->geometry().center() - centre).manhattanLength(), 4)
                << d->geometry().center().x() << "," << d->geometry().center().y();
            d->accept();
        });
        MessagePopup("INFO!", "text");
        EXPECT_TRUE(check.acted());
        HidePanel(b);
    }
    DiscardPanel(a);
    DiscardPanel(b);
}
