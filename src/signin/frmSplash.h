#pragma once

#include "platform/PictureButton.h"
#include "platform/Services.h"
#include "signin/LoginLog.h"
#include "signin/MainWindowHost.h"

#include <QLabel>
#include <QLineEdit>
#include <QWidget>

namespace talveros::signin {

// The start-up window: three attempts to give an administrator's login and password.
class frmSplash : public QWidget {
    Q_OBJECT
public:
    frmSplash(platform::Services &services, WorkstationInfo &info, MainWindowHost &host, QWidget *parent = nullptr);

    // Window load: fills the main window's printer list and selects the default
    // printer, which creates the main window (hidden) when a printer is installed.
    void load();

    double AttemptCount = 0;

    QLabel *loginLabel;
    QLineEdit *loginBox;
    QLabel *passwordLabel;
    QLineEdit *passwordBox;
    platform::PictureButton *signInButton;
    platform::PictureButton *closeButton;
    platform::PictureButton *passwordPicture;
    platform::PictureButton *logo;
    QLabel *banner;
    QLabel *versionLabel;
    QLabel *platformLabel;
    QLabel *productNameLabel;
    QLabel *companyProductLabel;

public slots:
    void signIn();
    void closeWindow();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    bool credentialsFound(const QString &login, const QString &password);
    void fillPrinterList();
    // The ending message, and the run ends.
    void refuseFurtherAttempts();

    platform::Services &m_services;
    WorkstationInfo &m_info;
    MainWindowHost &m_host;
    bool m_signedIn = false;
    bool m_closing = false;
};

// The exit status of a run that ended after the third failed sign-in.
inline constexpr int kExitSignInRefused = 1;

} // namespace talveros::signin
