#include "ui/UAbout.h"

#include <QLabel>
#include <QMessageBox>
#include <QPointer>
#include <QTextBrowser>
#include <QUrl>

#include "report/UBuildInfo.h"

namespace {
const char* const ReadMeUrl = "qrc:/help/README.md";
}  // namespace

void ShowReadMe(QWidget* Parent) {
  static QPointer<QTextBrowser> Shown;
  if (!Shown) {
    Shown = new QTextBrowser(Parent);
    Shown->setWindowFlags(Qt::Window);
    Shown->setAttribute(Qt::WA_DeleteOnClose);
    Shown->setObjectName(QStringLiteral("ReadMe"));
    Shown->setWindowTitle(QStringLiteral("Read me"));
    // Web links go to the browser; the read-me's links to its own pages stay here.
    Shown->setOpenExternalLinks(true);
    Shown->setSource(QUrl(QString::fromLatin1(ReadMeUrl)), QTextDocument::MarkdownResource);
    Shown->resize(760, 640);
  }
  Shown->show();
  Shown->raise();
  Shown->activateWindow();
}

void ShowAbout(QWidget* Parent) {
  QMessageBox Box(Parent);
  Box.setObjectName(QStringLiteral("AboutBox"));
  Box.setWindowTitle(QStringLiteral("About"));
  Box.setIcon(QMessageBox::Information);
  Box.setTextFormat(Qt::RichText);
  Box.setText(QStringLiteral("<b>Kart simulation using \"Causal Entropic Forces\"</b><br>"
                             "Version %1, built with Qt %2<br><br>"
                             "Small karts on a flat circuit, each steering itself by keeping "
                             "as many of its imagined futures open as it can.<br><br>"
                             "<a href=\"readme\">Read me</a>: how to use the window, kartrun and "
                             "the tests.")
                  .arg(ProgramVersion(), QStringLiteral(QT_VERSION_STR)));
  Box.setTextInteractionFlags(Qt::TextBrowserInteraction);
  // The read-me is part of the program, so the link opens it here rather than in a browser.
  if (auto* Label = Box.findChild<QLabel*>(QStringLiteral("qt_msgbox_label"))) {
    Label->setOpenExternalLinks(false);
    QObject::connect(Label, &QLabel::linkActivated, &Box, [&Box, Parent] {
      Box.accept();
      ShowReadMe(Parent);
    });
  }
  Box.exec();
}
