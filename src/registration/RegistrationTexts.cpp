#include "registration/RegistrationTexts.h"

namespace talveros::registration {

namespace {

const QString kCrLf = QStringLiteral("\r\n");

// Pieces are cut by characters as the administrator sees them, so a character outside
// the basic plane is never split into half a surrogate pair (which would be stored as a
// replacement character).
QString firstChars(const QString &text, int count)
{
    qsizetype end = 0;
    for (int n = 0; n < count && end < text.size(); ++n)
        end += (text.at(end).isHighSurrogate() && end + 1 < text.size()) ? 2 : 1;
    return text.left(end);
}

QString lastChars(const QString &text, int count)
{
    qsizetype start = text.size();
    for (int n = 0; n < count && start > 0; ++n)
        start -= (text.at(start - 1).isLowSurrogate() && start > 1) ? 2 : 1;
    return text.mid(start);
}

} // namespace

Credentials deriveCredentials(const QString &surname, const QString &address, const QString &postcode,
                              const QString &businessPhone)
{
    const QString stem = firstChars(surname, 2) + firstChars(address, 1) + lastChars(postcode, 1)
        + lastChars(businessPhone, 2);
    return {stem + u'1', stem + u'2'};
}

QString nextMasterNumber(std::optional<qint64> lastNummer)
{
    const qint64 sum = lastNummer.value_or(0) + 1 + 10000;
    return QString::number(sum).right(4);
}

QString consultantSummary(const ConsultantEntry &e)
{
    return QStringLiteral("Weet U zeker dat U deze consultant wilt aanmaken?") + kCrLf + kCrLf
        + QStringLiteral("Consultant    : ") + e.title + u' ' + e.initials + u' ' + e.prefix + u' ' + e.surname + kCrLf
        + kCrLf + QStringLiteral("Adres             : ") + e.address + u' ' + e.postcode + QStringLiteral(" te ")
        + e.town + kCrLf + kCrLf;
}

QString consultantResult(const QString &number, const QString &surname, const Credentials &c)
{
    return QStringLiteral("De consultant ") + number + QStringLiteral(" is aangemaakt") + kCrLf + kCrLf
        + QStringLiteral("Consultant        : ") + surname + kCrLf + kCrLf
        + QStringLiteral("LOGIN           wordt : ") + c.login + kCrLf + QStringLiteral("PASWOORD wordt : ")
        + c.password + kCrLf;
}

QString clientCompany(const QString &organisation, const QString &department)
{
    return organisation + QStringLiteral("  (") + department + u')';
}

QString clientSummary(const ClientEntry &e)
{
    return QStringLiteral("Weet U zeker dat U deze opdrachtgever wilt aanmaken?") + kCrLf + kCrLf
        + QStringLiteral("Opdrachtgever  : ") + e.organisation + kCrLf
        + QStringLiteral("Afdeling             : ") + e.department + kCrLf + kCrLf
        + QStringLiteral("Persoon              : ") + e.title + u' ' + e.initials + u' ' + e.prefix + u' '
        + e.surname + kCrLf + kCrLf + QStringLiteral("Adres                  : ") + e.address + u' ' + e.postcode
        + QStringLiteral(" te ") + e.town + kCrLf + kCrLf;
}

QString clientResult(const QString &number, const QString &surname, const Credentials &c)
{
    return QStringLiteral("De opdrachtgever ") + number + QStringLiteral(" is aangemaakt") + kCrLf + kCrLf
        + QStringLiteral("Opdrachtgever        : ") + surname + kCrLf + kCrLf
        + QStringLiteral("LOGIN           wordt : ") + c.login + kCrLf + QStringLiteral("PASWOORD wordt : ")
        + c.password + kCrLf;
}

QString consultantNumberInUse(const QString &number)
{
    return QStringLiteral("Consultantnummer ") + number
        + QStringLiteral(" is al in gebruik. De consultant is NIET aangemaakt.");
}

QString clientNumberInUse(const QString &number)
{
    return QStringLiteral("Opdrachtgevernummer ") + number
        + QStringLiteral(" is al in gebruik. De opdrachtgever is NIET aangemaakt.");
}

QString registrationBusy()
{
    return QStringLiteral("Een andere werkplek is op dit moment aan het aanmaken. Er is niets opgeslagen; "
                          "probeer het zo dadelijk opnieuw.");
}

QString projectSummary(const QString &clientEntry, const QString &consultantEntry, const QString &name,
                       const QString &description)
{
    return QStringLiteral("Weet U zeker dat U dit project wilt aanmaken?") + kCrLf + kCrLf
        + QStringLiteral("Opdrachtgever  : ") + clientEntry + kCrLf
        + QStringLiteral("Consultant         : ") + consultantEntry + kCrLf + kCrLf
        + QStringLiteral("Projectnaam      : ") + name + kCrLf + kCrLf + description + kCrLf;
}

QString projectExists(const QString &code)
{
    return QStringLiteral("Een project met de naam '") + code + QStringLiteral("' bestaat reeds");
}

QString projectCode(const QString &consultantNumber, const QString &name, const QString &clientNumber)
{
    return consultantNumber + name + clientNumber;
}

QString planningDateText(const QDate &date)
{
    auto two = [](int n) { return QString::number(n).rightJustified(2, u'0'); };
    return QString::number(date.year()) + u'/' + two(date.month()) + u'/' + two(date.day());
}

bool planningDateAccepted(bool start, const QString &otherBox, const QString &picked)
{
    if (otherBox.isEmpty())
        return true;
    // QString compares UTF-16 code units, which for these texts is their character order.
    return start ? !(otherBox < picked) : !(otherBox > picked);
}

QString planningDateRefusal(bool start)
{
    return QStringLiteral("Startdatum kan niet later zijn dan Einddatum") + kCrLf + kCrLf
        + (start ? QStringLiteral("Bij herhaalde foutmelding, probeer eerst de Einddatum aan te passen.")
                 : QStringLiteral("Bij herhaalde foutmelding, probeer eerst de Startdatum aan te passen."));
}

bool numericKeyAllowed(QChar c)
{
    const char16_t code = c.unicode();
    if (code >= u'0' && code <= u'9')
        return true;
    switch (code) {
    case 8:  // backspace
    case 9:  // tab
    case 12: // form feed
    case 37: // percent sign
    case 39: // apostrophe
    case 46: // full stop
        return true;
    default:
        return false;
    }
}

QString deletionQuestion(const QString &number, const QString &name, const QString &description)
{
    return QStringLiteral("Weet U zeker dat U dit project voorgoed wilt verwijderen?") + kCrLf + kCrLf
        + QStringLiteral("Wilt U opslaan en archieveren kies dan NEE!") + kCrLf + kCrLf
        + QStringLiteral("Projectnummer : ") + number + kCrLf + QStringLiteral("Projectnaam      : ") + name + kCrLf
        + kCrLf + description + kCrLf;
}

QString projectHasNoData(const QString &number)
{
    return QStringLiteral("Project ") + number
        + QStringLiteral(" heeft geen gegevensrij in TALVERO_PROJECT_DATA. Er is niets verwijderd.");
}

QString newRowNotStored()
{
    return QStringLiteral("De verbinding met de databaseserver ging verloren voordat de nieuwe gegevens waren "
                          "opgeslagen; er is niets opgeslagen. U kunt het opnieuw proberen.");
}

QString newRowOutcomeUnknown()
{
    return QStringLiteral("De verbinding met de databaseserver ging verloren terwijl de nieuwe gegevens werden "
                          "opgeslagen, en de server kon niet worden nagevraagd: of ze zijn opgeslagen, is niet "
                          "bekend. Probeert u het opnieuw zodra de server weer antwoordt: dan wordt eerst nagegaan of "
                          "ze er al staan, zodat niets twee keer wordt opgeslagen.");
}

QString earlierRegistrationStillUnknown()
{
    return QStringLiteral("Of de vorige registratie is opgeslagen, is nog steeds niet bekend: de databaseserver is "
                          "niet te bereiken. Er is nu niets opgeslagen. Probeert u het opnieuw zodra de server weer "
                          "antwoordt.");
}

QString nothingDeleted()
{
    return QStringLiteral("De verbinding met de databaseserver ging verloren; er is niets verwijderd. U kunt het "
                          "opnieuw proberen.");
}

QString deletionOutcomeUnknown()
{
    return QStringLiteral("De verbinding met de databaseserver ging verloren terwijl de verwijdering werd bevestigd: "
                          "of de gegevensrij is verwijderd, is niet bekend. Vraagt u de verwijdering opnieuw, dan "
                          "ziet u eerst hoeveel gegevensrijen het project nu heeft.");
}

QString earlierDeletionStillUnknown()
{
    return QStringLiteral("Of de vorige verwijdering is uitgevoerd, is nog steeds niet bekend: de databaseserver is "
                          "niet te bereiken. Er is nu niets verwijderd. Probeert u het opnieuw zodra de server weer "
                          "antwoordt.");
}

QString deletionAfterDoubtQuestion(const QString &number, qint64 rowsNow)
{
    const QString crlf = QStringLiteral("\r\n");
    return QStringLiteral("Bij de vorige verwijdering van project ") + number
        + QStringLiteral(" ging de verbinding met de databaseserver verloren; of de gegevensrij toen is verwijderd, "
                         "is niet bekend.")
        + crlf + crlf + QStringLiteral("Project ") + number + QStringLiteral(" heeft nu ") + QString::number(rowsNow)
        + (rowsNow == 1 ? QStringLiteral(" gegevensrij") : QStringLiteral(" gegevensrijen"))
        + QStringLiteral(" in TALVERO_PROJECT_DATA.") + crlf + crlf
        + QStringLiteral("Wilt U nu een gegevensrij van dit project verwijderen?");
}

} // namespace talveros::registration
