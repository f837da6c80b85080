// The real browser engine: loaded by the first page and not before, and a page that
// cannot be reached leaves the program going.
#include "tools/Addresses.h"
#include "tools/WebView.h"

#include <QFile>
#include <QSignalSpy>
#include <QtTest>

using namespace talveros;

#if defined(__SANITIZE_ADDRESS__)
// The engine library, built without the sanitizer, frees some of its own objects with
// a size that differs from the allocation's; that is inside the engine, not here.
extern "C" const char *__asan_default_options() { return "new_delete_type_mismatch=0"; }
#endif

namespace {
bool engineLibraryLoaded()
{
    QFile maps(QStringLiteral("/proc/self/maps"));
    return maps.open(QIODevice::ReadOnly) && maps.readAll().contains("libQt6WebEngineCore");
}
} // namespace

class TestWebEngine : public QObject {
    Q_OBJECT
private slots:
    void loadedByTheFirstPage();
};

void TestWebEngine::loadedByTheFirstPage()
{
    tools::WebView view;
    view.resize(640, 480);
    view.show();
    QVERIFY(!engineLibraryLoaded());
    QVERIFY(!view.engine());

    view.navigate(tools::addresses::networkPage());
    QWidget *page = view.engine();
    QVERIFY(page);
    QCOMPARE(page->objectName(), QStringLiteral("WebPage")); // the engine, not the notice
    QVERIFY(engineLibraryLoaded());

    // Whether or not a network is at hand, the view reports the load as finished.
    QSignalSpy finished(page, SIGNAL(loadFinished(bool)));
    QVERIFY(finished.wait(60000));

    // An address of one blank goes to the same engine as it is.
    finished.clear();
    view.navigate(QStringLiteral(" "));
    QCOMPARE(view.engine(), page);
    QCOMPARE(view.address(), QStringLiteral(" "));
    QVERIFY(finished.count() > 0 || finished.wait(60000));
}

QTEST_MAIN(TestWebEngine)
#include "tst_web_engine.moc"
