#include "signin/frmSplash.h"

#include "data/Session.h"
#include "platform/Accessible.h"
#include "platform/Action.h"
#include "platform/Branding.h"
#include "platform/TextBox.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>

#include <utility>

namespace talveros::signin {

namespace {
// The form name of every control of the sign-in window, and the one place it is written:
// the network's vocabulary and the checks of the whole program find controls by these
// object names, while the code calls each control by its role.
void nameControls(frmSplash &window)
{
    const std::pair<QObject *, const char *> names[] = {
        {window.logo, "imgLogo"},
        {window.passwordPicture, "Image2"},
        {window.loginLabel, "Label1"},
        {window.loginBox, "Text1"},
        {window.passwordLabel, "Label2"},
        {window.passwordBox, "Text2"},
        {window.signInButton, "Image1"},
        {window.closeButton, "Image3"},
        {window.versionLabel, "lblVersion"},
        {window.platformLabel, "lblPlatform"},
        {window.productNameLabel, "lblProductName"},
        {window.companyProductLabel, "lblCompanyProduct"},
    };
    for (const auto &[control, formName] : names)
        control->setObjectName(QLatin1String(formName));
    // Screen readers call the boxes by their captions and the pictures by their tool
    // tips; Tab walks the boxes, then the pictures.
    window.loginLabel->setBuddy(window.loginBox);
    window.passwordLabel->setBuddy(window.passwordBox);
    platform::chainFocus({window.loginBox, window.passwordBox, window.signInButton, window.closeButton});
}
} // namespace

frmSplash::frmSplash(platform::Services &services, WorkstationInfo &info, MainWindowHost &host, QWidget *parent)
    : QWidget(parent), m_services(services), m_info(info), m_host(host)
{
    setObjectName(QStringLiteral("frmSplash"));
    setWindowTitle(QStringLiteral(" "));
    setWindowFlag(Qt::WindowMaximizeButtonHint, false);
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, QColor(250, 250, 246));
    setPalette(pal);

    logo = new platform::PictureButton(
        QString(), platform::themedIcon(QStringLiteral("system-users"), QColor(40, 110, 170), QStringLiteral("T")),
        QString(), this, 96);
    logo->setCursor(Qt::ArrowCursor);
    logo->setFocusPolicy(Qt::NoFocus);
    passwordPicture = new platform::PictureButton(
        QString(), platform::themedIcon(QStringLiteral("dialog-password"), QColor(200, 150, 40), QStringLiteral("*")),
        QString(), this, 48);
    passwordPicture->setCursor(Qt::ArrowCursor);
    passwordPicture->setFocusPolicy(Qt::NoFocus);

    banner = new QLabel(QStringLiteral("<b style='font-size:15pt'>%1</b><br>%2<br><span style='color:#555'>"
                                       "Eigendom van %3. Alle rechten voorbehouden.</span>")
                            .arg(QLatin1String(platform::kProductTitle), QLatin1String(platform::kModuleTitle),
                                 QLatin1String(platform::kOrganisation)),
                        this);
    banner->setObjectName(QStringLiteral("banner"));
    banner->setTextFormat(Qt::RichText);

    loginLabel = new QLabel(QStringLiteral("Login naam"), this);
    loginBox = new QLineEdit(QStringLiteral("ADMIN"), this);
    platform::limitTyping(loginBox, 10);
    passwordLabel = new QLabel(QStringLiteral("Paswoord"), this);
    passwordBox = new QLineEdit(QStringLiteral("qorun"), this);
    platform::limitTyping(passwordBox, 10);
    passwordBox->setEchoMode(QLineEdit::Password);
    passwordBox->setStyleSheet(QStringLiteral("lineedit-password-character: 42;"));

    signInButton = new platform::PictureButton(
        QString(), platform::themedIcon(QStringLiteral("talveros-sign-in"), QColor(60, 150, 60), QStringLiteral("→")),
        QStringLiteral("Aanmelden"), this, 40);
    closeButton = new platform::PictureButton(
        QString(), platform::themedIcon(QStringLiteral("application-exit"), QColor(180, 60, 60), QStringLiteral("X")),
        QStringLiteral("Afsluiten"), this, 40);

    versionLabel = new QLabel(QStringLiteral("Version"), this);
    platformLabel = new QLabel(QStringLiteral("Platform"), this);
    productNameLabel = new QLabel(QStringLiteral("Product"), this);
    companyProductLabel = new QLabel(QStringLiteral("CompanyProduct"), this);
    for (QLabel *l : {versionLabel, platformLabel, productNameLabel, companyProductLabel})
        l->setStyleSheet(QStringLiteral("color: #888;"));

    auto *form = new QGridLayout;
    form->addWidget(loginLabel, 0, 0);
    form->addWidget(loginBox, 0, 1);
    form->addWidget(passwordLabel, 1, 0);
    form->addWidget(passwordBox, 1, 1);
    form->addWidget(passwordPicture, 0, 2, 2, 1, Qt::AlignCenter);
    form->setColumnMinimumWidth(1, 160);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(signInButton);
    buttons->addWidget(closeButton);

    auto *right = new QVBoxLayout;
    right->addWidget(banner);
    right->addSpacing(12);
    right->addLayout(form);
    right->addLayout(buttons);

    auto *top = new QHBoxLayout;
    top->addWidget(logo, 0, Qt::AlignTop);
    top->addSpacing(12);
    top->addLayout(right, 1);

    auto *footer = new QHBoxLayout;
    for (QLabel *l : {productNameLabel, versionLabel, platformLabel, companyProductLabel})
        footer->addWidget(l);
    footer->addStretch();

    auto *outer = new QVBoxLayout(this);
    outer->setContentsMargins(18, 18, 18, 10);
    outer->addLayout(top);
    outer->addStretch();
    outer->addLayout(footer);
    setFixedSize(580, 270);
    nameControls(*this);

    connect(signInButton, &platform::PictureButton::clicked, this, &frmSplash::signIn);
    connect(closeButton, &platform::PictureButton::clicked, this, &frmSplash::closeWindow);
    // Enter in either box signs in, as it does in every sign-in window.
    connect(loginBox, &QLineEdit::returnPressed, this, &frmSplash::signIn);
    connect(passwordBox, &QLineEdit::returnPressed, this, &frmSplash::signIn);
    // The administrator types for a few seconds: time enough to connect, over the
    // provider's link, before the button is pressed.
    data::prepareConnection(data::Database::Main);
}

void frmSplash::load()
{
    platform::runAction(m_services.dialogs, [this] { fillPrinterList(); });
}

void frmSplash::fillPrinterList()
{
    const QStringList printers = m_services.printers.installed();
    if (printers.isEmpty())
        return; // nothing touches the main window, which is then made at sign-in
    const QString defaultPrinter = m_services.printers.defaultPrinter();
    // Equal names later in the list win.
    const int remembered = int(printers.lastIndexOf(defaultPrinter));
    if (!m_host.showPrinters(printers, remembered))
        return;
    if (remembered != -1) {
        selectPrinter(m_services.printers, printers[remembered]);
        m_info.printerName = printers[remembered];
    }
}

bool frmSplash::credentialsFound(const QString &login, const QString &password)
{
    data::Session session;
    // The server's collation ignores letter case and trailing blanks, so it only narrows
    // the rows down to those that may match; the exact comparison is the program's. Rows
    // that cannot match (another administrator's, one with a NULL) are never read.
    data::RecordSet rs = session.records(
        QStringLiteral("TALVERO_ADMINISTRATOR"),
        data::Rows::matching("`PASWOORD` = ? AND `LOGIN` = ?", {password.toUtf8(), login.toUtf8()}));
    bool found = false;
    for (rs.moveFirst(); !rs.eof() && !found;) {
        found = rs.field(u"PASWOORD") == password && rs.field(u"LOGIN") == login;
        if (!found)
            rs.moveNext();
    }
    rs.close();
    session.close();
    return found;
}

void frmSplash::signIn()
{
    if (m_closing)
        return;
    AttemptCount += 1;
    const QString login = loginBox->text();
    const QString password = passwordBox->text();
    const bool ran = platform::runAction(m_services.dialogs, [&] {
        if (!credentialsFound(login, password)) {
            if (AttemptCount < 3) {
                m_services.dialogs.inform(QStringLiteral("Uw inlog gegevens zijn niet gevonden en mag nog ")
                                          + QString::number(3 - int(AttemptCount)) + QStringLiteral(" keer proberen."));
            } else {
                refuseFurtherAttempts();
            }
            return;
        }
        // The log row is written before the window goes, so that a failed write leaves
        // the administrator here, able to try again, instead of with no window at all.
        writeLoginLog(m_services, m_info);
        m_signedIn = true;
        close();
        m_host.showMainWindow();
    });
    // Attempts that ended in a data error count too (reading the administrators,
    // writing the log row): a third one ends the run like a third wrong password.
    if (!ran && AttemptCount >= 3 && !m_signedIn && !m_closing)
        refuseFurtherAttempts();
}

void frmSplash::refuseFurtherAttempts()
{
    m_services.dialogs.inform(QStringLiteral("Uw heeft 3 pogingen gedaan, het programma wordt beeindigd."));
    m_closing = true;
    m_services.app.quit(kExitSignInRefused);
}

void frmSplash::closeWindow()
{
    close();
}

void frmSplash::closeEvent(QCloseEvent *event)
{
    // Closing the sign-in window before signing in ends the run, also when the main
    // window already exists hidden: nothing else would ever show it.
    if (!m_signedIn && !m_closing) {
        m_closing = true;
        m_services.app.quit(0);
    }
    QWidget::closeEvent(event);
}

} // namespace talveros::signin
