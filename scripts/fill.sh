#!/usr/bin/env bash
# Fills the tables of a private database server (scripts/db.sh) with made-up data at
# scale, for benchmarks: consultants, clients, projects and declarations in the same text
# forms the demo data and the network's programs use. The tables are emptied first; the
# administrator account and the broadcast message row are kept (or made).
#
#   scripts/fill.sh DATADIR [--consultants N] [--clients N] [--projects N] [--declarations N]
#
# Every row is made by the server itself from its SEQUENCE engine (seq_1_to_N) in one
# INSERT ... SELECT per table, so 200,000 declarations take a few seconds.
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
usage() {
  echo "usage: $0 DATADIR [--consultants N] [--clients N] [--projects N] [--declarations N]" >&2
  exit 2
}

[ $# -ge 1 ] || usage
datadir=$1
shift
consultants=500
clients=300
projects=2000
declarations=200000
while [ $# -gt 0 ]; do
  [ $# -ge 2 ] || usage
  [[ $2 =~ ^[0-9]+$ ]] || { echo "$0: $1 needs a whole number, not '$2'" >&2; exit 2; }
  case "$1" in
    --consultants) consultants=$((10#$2)) ;;
    --clients) clients=$((10#$2)) ;;
    --projects) projects=$((10#$2)) ;;
    --declarations) declarations=$((10#$2)) ;;
    *) usage ;;
  esac
  shift 2
done
if [ "$projects" -gt 0 ] && { [ "$consultants" -eq 0 ] || [ "$clients" -eq 0 ]; }; then
  echo "$0: projects need at least one consultant and one client" >&2
  exit 2
fi
if [ "$declarations" -gt 0 ] && [ "$projects" -eq 0 ]; then
  echo "$0: declarations need at least one project" >&2
  exit 2
fi
if ! { [ -d "$datadir" ] && "$here/db.sh" status "$datadir"; }; then
  echo "$0: no database server runs on $datadir; start it with scripts/db.sh start $datadir [PORT]" >&2
  exit 1
fi

# seq_1_to_0 does not exist; an empty table is simply left empty.
seq_table() { echo "seq_1_to_$1"; }

# The program's own number rule: the row number plus 10000, last four digits (so 9999 is
# followed by 0000 and 0001 again).
master_number() { echo "RIGHT(CAST($1 + 10000 AS CHAR), 4)"; }

# Presence texts: now and then someone signed in, some never; "mm-dd-yyyy  hh:mm:ss".
presence_columns() {
  local s=$1
  local signin="TIMESTAMP'2025-01-01 07:00:00' + INTERVAL MOD($s * 37, 150) DAY + INTERVAL MOD($s * 7919, 36000) SECOND"
  cat <<EOF
    IF(MOD($s, 17) = 0, '00-00-0000  00:00:00', DATE_FORMAT($signin, '%m-%d-%Y  %H:%i:%s')),
    IF(MOD($s, 17) = 0, '00-00-0000  00:00:00',
       DATE_FORMAT($signin + INTERVAL IF(MOD($s, 23) = 0, -15, 6) HOUR, '%m-%d-%Y  %H:%i:%s')),
    IF(MOD($s, 23) = 0, 'ONLINE', 'OFFLINE')
EOF
}

TITLES="'', 'ir.', 'drs.', '', 'mr.', 'ing.', '', 'dr.'"
INITIALS="'J.', 'M.', 'P.J.', 'A.C.', 'H.', 'S.', 'L.', 'K.', 'W.F.', 'E.', 'R.', 'N.', 'T.M.'"
PREFIXES="'', 'van', 'de', '', 'van der', '', 'van den', 'ter', '', 'de'"
SURNAMES="'Jansen', 'Vries', 'Bakker', 'Visser', 'Smit', 'Meijer', 'Mulder', 'Boer', 'Bos', 'Vos', 'Peters', 'Hendriks', 'Dekker', 'Brouwer', 'Wit', 'Dijkstra', 'Smits', 'Graaf', 'Meer', 'Linden', 'Kok', 'Jacobs', 'Haan', 'Vermeulen', 'Heuvel', 'Veen', 'Broek', 'Bruijn', 'Berg', 'Schouten', 'Beek', 'Willems', 'Hoekstra', 'Maas', 'Verhoeven', 'Koster', 'Prins', 'Blom', 'Huisman', 'Kuipers'"
TOWNS="'Utrecht', 'Amersfoort', 'Zwolle', 'Groningen', 'Leeuwarden', 'Haarlem', 'Leiden', 'Delft', 'Rotterdam', 'Den Haag', 'Eindhoven', '''s-Hertogenbosch', 'Nijmegen', 'Arnhem', 'Maastricht', 'Breda', 'Tilburg', 'Apeldoorn', 'Enschede', 'Deventer'"
STREETS="'Dorpsstraat', 'Kerkstraat', 'Stationsweg', 'Molenweg', 'Schoolstraat', 'Oudegracht', 'Markt', 'Julianalaan', 'Beatrixstraat', 'Parallelweg'"
ORGANISATIONS="'Gemeente', 'Zorggroep', 'Waterbedrijf', 'Transport', 'Verzekeraar', 'Hogeschool', 'Woonstichting', 'Bouwbedrijf', 'Ziekenhuis', 'Energie'"
DEPARTMENTS="'ICT', 'Financiën', 'HRM', 'Inkoop', 'Logistiek', 'Juridisch', 'Facilitair', 'Projecten'"
PROJECT_WORDS="'Migratie', 'Audit', 'Analyse', 'Upgrade', 'Invoering', 'Beheer', 'Planning', 'Ontwerp', 'Training', 'Archief', 'Koppeling', 'Rapport'"
EXPENSES="'Parkeren', 'Treinkaartje', 'Lunch met opdrachtgever', 'Vakliteratuur', 'Hotelovernachting'"

# One person's columns as a derived row, varied by the expression given; LOGIN and PASWOORD follow from naam, adres,
# postcode and TELzakelijk exactly as the program derives them.
person_select() {
  local s=$1
  cat <<EOF
  SELECT seq AS n,
    ELT(1 + MOD($s, 8), $TITLES) AS titel1,
    ELT(1 + MOD($s * 7, 13), $INITIALS) AS voornaam,
    ELT(1 + MOD($s * 3, 10), $PREFIXES) AS tussenvoegsel,
    ELT(1 + MOD($s * 11, 40), $SURNAMES) AS naam,
    CONCAT(ELT(1 + MOD($s * 13, 10), $STREETS), ' ', 1 + MOD($s * 31, 250)) AS adres,
    CONCAT(1000 + MOD($s * 37, 8999), ' ', CHAR(65 + MOD($s, 26)), CHAR(65 + MOD($s * 7, 26))) AS postcode,
    ELT(1 + MOD($s * 17, 20), $TOWNS) AS woonplaats,
    CONCAT('0', 10 + MOD($s * 3, 89), LPAD(MOD($s * 7919, 10000000), 7, '0')) AS tel,
    CONCAT('06', LPAD(MOD($s * 48271, 100000000), 8, '0')) AS mobiel
EOF
}

sql=$(cat <<EOF
SET NAMES utf8mb4;
USE kordamrg_KORDAMdata;
TRUNCATE TABLE TALVERO_consultants;
TRUNCATE TABLE TALVERO_opdrachtgevers;
TRUNCATE TABLE TALVERO_PROJECT_DATA;
TRUNCATE TABLE TALVERO_projecten;
INSERT INTO TALVERO_ADMINISTRATOR (LOGIN, PASWOORD)
  SELECT 'ADMIN', 'qorun' FROM DUAL WHERE NOT EXISTS (SELECT 1 FROM TALVERO_ADMINISTRATOR);
INSERT INTO TALVERO_berichten (Bericht) SELECT '' FROM DUAL WHERE NOT EXISTS (SELECT 1 FROM TALVERO_berichten);
EOF
)

if [ "$consultants" -gt 0 ]; then
  sql+=$(cat <<EOF

INSERT INTO TALVERO_consultants (nummer, consultantnummer, NaamOrganisatie, Titel1, voornaam, tussenvoegsel,
  naam, Titel2, Roepnaam, Functie, adres, postcode, woonplaats, WEBSITE, TELzakelijk, TELprive, TELmobiel,
  EMAILzakelijk, EMAILprive, LOGIN, PASWOORD, BANKnaam, BANKnummer, BTWnummer, KVKnummer, VARverklaring,
  isAANGEMELD, isAFGEMELD, isONLINE)
SELECT n, $(master_number n), CONCAT(naam, ' Advies ', n), titel1, voornaam,
  tussenvoegsel, naam, ELT(1 + MOD(n, 5), '', 'MBA', '', 'MSc', ''), ELT(1 + MOD(n, 6), 'Jan', 'Marieke', 'Peter', 'Anne', 'Sander', 'Lotte'),
  ELT(1 + MOD(n, 6), 'Projectleider', 'Interim-manager', 'Informatieanalist', 'Architect', 'IT-auditor', 'Scrum master'),
  adres, postcode, woonplaats, CONCAT('www.advies', n, '.nl'), tel, CONCAT(LEFT(tel, 3), '5', RIGHT(tel, 6)), mobiel,
  CONCAT('info@advies', n, '.nl'), CONCAT(LOWER(LEFT(voornaam, 1)), n, '@ziggo.nl'),
  CONCAT(LEFT(naam, 2), LEFT(adres, 1), RIGHT(postcode, 1), RIGHT(tel, 2), '1'),
  CONCAT(LEFT(naam, 2), LEFT(adres, 1), RIGHT(postcode, 1), RIGHT(tel, 2), '2'),
  ELT(1 + MOD(n, 4), 'ING', 'Rabobank', 'ABN AMRO', 'SNS Bank'), CAST(100000000 + MOD(n * 7654321, 899999999) AS CHAR),
  CONCAT('NL', LPAD(MOD(n * 123456789, 1000000000), 9, '0'), 'B01'), LPAD(30000000 + MOD(n * 1234567, 69999999), 8, '0'),
  ELT(1 + MOD(n, 3), 'WUO', 'DGA', 'ROW'),
$(presence_columns n)
FROM (
$(person_select seq)
  FROM $(seq_table "$consultants")) p;
EOF
)
fi

if [ "$clients" -gt 0 ]; then
  sql+=$(cat <<EOF

INSERT INTO TALVERO_opdrachtgevers (nummer, Opdrachtgevernummer, Bedrijf, Opdrachtnaam, Titel1, voornaam,
  tussenvoegsel, naam, Titel2, Roepnaam, Functie, Secretaresse, TELsecretaresse, EMAILsecretaresse, adres,
  Factuuradres, postcode, woonplaats, WEBSITE, TELzakelijk, TELprive, TELmobiel, EMAILzakelijk, EMAILprive,
  BANKnaam, BANKnummer, BTWnummer, KVKnummer, LOGIN, PASWOORD, isAANGEMELD, isAFGEMELD, isONLINE)
SELECT n, $(master_number n),
  CONCAT(ELT(1 + MOD(n, 10), $ORGANISATIONS), ' ', woonplaats, ' ', n, '  (', ELT(1 + MOD(n * 3, 8), $DEPARTMENTS), ')'),
  CONCAT('Opdracht ', n), titel1, voornaam, tussenvoegsel, naam, '', ELT(1 + MOD(n, 4), 'Arjen', 'Paula', 'Rob', 'Els'),
  ELT(1 + MOD(n, 4), 'Teamleider ICT', 'Controller', 'Inkoopmanager', 'Directeur'),
  CONCAT('mevr. ', ELT(1 + MOD(n * 5, 13), $INITIALS), ' ', ELT(1 + MOD(n * 13, 40), $SURNAMES)),
  CONCAT(LEFT(tel, 4), '9', RIGHT(tel, 5)), CONCAT('secretariaat@klant', n, '.nl'), adres,
  CONCAT('Postbus ', 100 + n, '\r\n', LEFT(postcode, 4), ' AA  ', UPPER(woonplaats)), postcode, woonplaats,
  CONCAT('www.klant', n, '.nl'), tel, CONCAT(LEFT(tel, 3), '5', RIGHT(tel, 6)), mobiel,
  CONCAT('info@klant', n, '.nl'), CONCAT('klant', n, '@hotmail.com'),
  ELT(1 + MOD(n, 4), 'Rabobank', 'ING', 'Triodos Bank', 'ABN AMRO'), CAST(100000000 + MOD(n * 9876543, 899999999) AS CHAR),
  CONCAT('NL', LPAD(MOD(n * 987654321, 1000000000), 9, '0'), 'B01'), LPAD(40000000 + MOD(n * 7654321, 59999999), 8, '0'),
  CONCAT(LEFT(naam, 2), LEFT(adres, 1), RIGHT(postcode, 1), RIGHT(tel, 2), '1'),
  CONCAT(LEFT(naam, 2), LEFT(adres, 1), RIGHT(postcode, 1), RIGHT(tel, 2), '2'),
$(presence_columns "(n + 5)")
FROM (
$(person_select "(seq + 1000)")
  FROM $(seq_table "$clients")) p;
EOF
)
fi

if [ "$projects" -gt 0 ]; then
  sql+=$(cat <<EOF

-- The private servers' insert trigger (db/private_triggers.sql) gives every project its
-- TALVERO_PROJECT_DATA row.
INSERT INTO TALVERO_projecten (nummer, Projectnaam, ProjectOmschrijving, Projectcode, Opdrachtgevernummer,
  consultantnummer, TijdsplanningDATUMvan, TijdsplanningDATUMtm, ProjectduurPer8uur, InkoopDagtariefOpdrachtgever,
  VerkoopDagtariefConsultant, CommentaarCONSULTANT, CommentaarADMIN, AFSLUITEN)
SELECT n, naam, CONCAT('Project ', n, ' van het netwerk.\r\nPlan van aanpak volgt.'),
  CONCAT(cnum, naam, onum), onum, cnum,
  DATE_FORMAT(start, '%Y/%m/%d'), DATE_FORMAT(start + INTERVAL (2 + MOD(n, 10)) MONTH, '%Y/%m/%d'),
  CAST(20 + MOD(n * 7, 180) AS CHAR), CAST(inkoop AS CHAR), CAST(inkoop - 200 AS CHAR),
  IF(MOD(n, 4) = 0, 'Reiskosten apart declareren.', ''), IF(MOD(n, 10) = 0, 'Tarief herzien.', 'GEEN'),
  IF(MOD(n, 6) = 0, 'Ja', 'Nee')
FROM (
  SELECT seq AS n,
    CONCAT(ELT(1 + MOD(seq, 12), $PROJECT_WORDS), ' ', seq) AS naam,
    $(master_number "1 + MOD(seq * 7, $consultants)") AS cnum,
    $(master_number "1 + MOD(seq * 11, $clients)") AS onum,
    DATE'2023-01-01' + INTERVAL MOD(seq * 13, 900) DAY AS start,
    760 + 40 * MOD(seq, 10) AS inkoop
  FROM $(seq_table "$projects")) p;
EOF
)
fi

sql+=$(cat <<EOF

USE kordamrg_KORDAMdeclaraties;
TRUNCATE TABLE Declaraties;
EOF
)

if [ "$declarations" -gt 0 ]; then
  # Declarations go round the projects: declaration d (from 1) belongs to project
  # 1 + (d - 1) mod P. What a declaration takes from its project, client and consultant is
  # looked up once per project, and the rows come from crossing that small table with a
  # sequence of rounds, which spares 200,000 key look-ups.
  sql+=$(cat <<EOF

CREATE TEMPORARY TABLE fill_projects AS
  SELECT p.nummer - 1 AS idx, p.Projectnaam AS projectnaam, o.Bedrijf AS bedrijf,
    CONCAT_WS(' ', c.voornaam, NULLIF(c.tussenvoegsel, ''), c.naam) AS consultant,
    CAST(CAST(p.InkoopDagtariefOpdrachtgever AS DECIMAL(10, 2)) / 8 AS DECIMAL(10, 2)) AS rate
  FROM kordamrg_KORDAMdata.TALVERO_projecten p
    JOIN kordamrg_KORDAMdata.TALVERO_consultants c ON c.nummer = 1 + MOD(p.nummer * 7, $consultants)
    JOIN kordamrg_KORDAMdata.TALVERO_opdrachtgevers o ON o.nummer = 1 + MOD(p.nummer * 11, $clients);

INSERT INTO Declaraties (Factuurnummer, Projectnaam, Opdrachtgevernaam, Consultantnaam, IsbetaaldOpdrachtgever,
  IsbetaaldConsultant, uren, peruurUIT, urentotaaluit, kilometers, perKM, totaalkostenKM, onkosten,
  kostenomschrijving, subtotaaluit, BTWuit, totaaluit)
SELECT factuur, projectnaam, bedrijf, consultant, client_paid, consultant_paid,
  CAST(uren AS CHAR), CAST(rate AS CHAR), CAST(uren_totaal AS CHAR), CAST(km AS CHAR), '0.21', CAST(km_totaal AS CHAR),
  CAST(onkosten AS CHAR), omschrijving, CAST(sub AS CHAR), CAST(btw AS CHAR), CAST(sub + btw AS CHAR)
FROM (
  SELECT *, CAST(ROUND(sub * 0.21, 2) AS DECIMAL(12, 2)) AS btw
  FROM (
    SELECT *, uren_totaal + km_totaal + onkosten AS sub
    FROM (
      SELECT *,
        -- yyyymm-nnnnnnnnn: 16 characters, unique
        CONCAT(2020 + MOD(d, 6), LPAD(1 + MOD(d, 12), 2, '0'), '-', LPAD(d, 9, '0')) AS factuur,
        IF(MOD(d, 5) = 0 OR MOD(d, 7) = 0, 'nee', 'ja') AS client_paid,
        IF(MOD(d, 5) = 0 OR MOD(d, 11) = 0, 'nee', 'ja') AS consultant_paid,
        CAST(uren * rate AS DECIMAL(12, 2)) AS uren_totaal,
        CAST(0.21 * km AS DECIMAL(12, 2)) AS km_totaal,
        CAST(IF(MOD(d, 4) = 1, 0, 7.25 + MOD(d * 13, 90)) AS DECIMAL(12, 2)) AS onkosten,
        IF(MOD(d, 4) = 1, '', ELT(1 + MOD(d, 5), $EXPENSES)) AS omschrijving
      FROM (
        SELECT r.seq * $projects + p.idx + 1 AS d,
          -- now and then a row the consultants' side left without a project: no declaration
          IF(MOD(r.seq * $projects + p.idx + 1, 997) = 0, '', p.projectnaam) AS projectnaam,
          p.bedrijf, p.consultant, p.rate,
          8 * (1 + MOD((r.seq * $projects + p.idx + 1) * 7 + r.seq, 20)) AS uren,
          IF(MOD(r.seq * $projects + p.idx + 1, 7) = 3, 0, 12 * (1 + MOD((r.seq * $projects + p.idx + 1) * 3 + r.seq, 15))) AS km
        FROM fill_projects p JOIN seq_0_to_$(( (declarations - 1) / projects )) r
        WHERE r.seq * $projects + p.idx < $declarations
      ) base
    ) a
  ) b
) t;
DROP TEMPORARY TABLE fill_projects;
EOF
)
fi

"$here/db.sh" sql "$datadir" <<<"$sql"
echo "filled: $consultants consultants, $clients clients, $projects projects, $declarations declarations"
