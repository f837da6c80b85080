-- Both databases of the network with the tables and columns Talveros reads and writes,
-- for the private servers of the demo and the tests (scripts/db.sh loads it on every
-- start, so every statement may run again). Every value is text; only the master tables
-- carry a generated row number. Several tables have no key, because the network's other
-- programs write them that way and Talveros must work with what they write.
CREATE DATABASE IF NOT EXISTS kordamrg_KORDAMdata CHARACTER SET utf8mb4 COLLATE utf8mb4_general_ci;
CREATE DATABASE IF NOT EXISTS kordamrg_KORDAMdeclaraties CHARACTER SET utf8mb4 COLLATE utf8mb4_general_ci;

CREATE USER IF NOT EXISTS 'kordamrg'@'localhost' IDENTIFIED BY 't7oKmaxu';
CREATE USER IF NOT EXISTS 'kordamrg'@'127.0.0.1' IDENTIFIED BY 't7oKmaxu';

USE kordamrg_KORDAMdata;

CREATE TABLE IF NOT EXISTS TALVERO_ADMINISTRATOR (
  LOGIN VARCHAR(255),
  PASWOORD VARCHAR(255)
);

CREATE TABLE IF NOT EXISTS LOGINadministrator (
  DATUMTIJD VARCHAR(255),
  PCnaam VARCHAR(255),
  LOGINnaam VARCHAR(255),
  NETWERKkaart VARCHAR(255),
  NETWERKadres VARCHAR(255),
  MBmerk VARCHAR(255),
  MBtype VARCHAR(255),
  Afdrukapparaat VARCHAR(255)
);

CREATE TABLE IF NOT EXISTS TALVERO_consultants (
  nummer INT NOT NULL AUTO_INCREMENT PRIMARY KEY,
  consultantnummer VARCHAR(255),
  NaamOrganisatie VARCHAR(255),
  Titel1 VARCHAR(255),
  voornaam VARCHAR(255),
  tussenvoegsel VARCHAR(255),
  naam VARCHAR(255),
  Titel2 VARCHAR(255),
  Roepnaam VARCHAR(255),
  Functie VARCHAR(255),
  adres VARCHAR(255),
  postcode VARCHAR(255),
  woonplaats VARCHAR(255),
  WEBSITE VARCHAR(255),
  TELzakelijk VARCHAR(255),
  TELprive VARCHAR(255),
  TELmobiel VARCHAR(255),
  EMAILzakelijk VARCHAR(255),
  EMAILprive VARCHAR(255),
  LOGIN VARCHAR(255),
  PASWOORD VARCHAR(255),
  BANKnaam VARCHAR(255),
  BANKnummer VARCHAR(255),
  BTWnummer VARCHAR(255),
  KVKnummer VARCHAR(255),
  VARverklaring VARCHAR(255),
  isAANGEMELD VARCHAR(255),
  isAFGEMELD VARCHAR(255),
  isONLINE VARCHAR(255)
);

CREATE TABLE IF NOT EXISTS TALVERO_opdrachtgevers (
  nummer INT NOT NULL AUTO_INCREMENT PRIMARY KEY,
  Opdrachtgevernummer VARCHAR(255),
  Bedrijf VARCHAR(255),
  Opdrachtnaam VARCHAR(255),
  Titel1 VARCHAR(255),
  voornaam VARCHAR(255),
  tussenvoegsel VARCHAR(255),
  naam VARCHAR(255),
  Titel2 VARCHAR(255),
  Roepnaam VARCHAR(255),
  Functie VARCHAR(255),
  Secretaresse VARCHAR(255),
  TELsecretaresse VARCHAR(255),
  EMAILsecretaresse VARCHAR(255),
  adres VARCHAR(255),
  Factuuradres MEDIUMTEXT,
  postcode VARCHAR(255),
  woonplaats VARCHAR(255),
  WEBSITE VARCHAR(255),
  TELzakelijk VARCHAR(255),
  TELprive VARCHAR(255),
  TELmobiel VARCHAR(255),
  EMAILzakelijk VARCHAR(255),
  EMAILprive VARCHAR(255),
  BANKnaam VARCHAR(255),
  BANKnummer VARCHAR(255),
  BTWnummer VARCHAR(255),
  KVKnummer VARCHAR(255),
  LOGIN VARCHAR(255),
  PASWOORD VARCHAR(255),
  isAANGEMELD VARCHAR(255),
  isAFGEMELD VARCHAR(255),
  isONLINE VARCHAR(255)
);

CREATE TABLE IF NOT EXISTS TALVERO_projecten (
  nummer INT NOT NULL AUTO_INCREMENT PRIMARY KEY,
  Projectnaam VARCHAR(255),
  ProjectOmschrijving MEDIUMTEXT,
  Projectcode VARCHAR(255),
  Opdrachtgevernummer VARCHAR(255),
  consultantnummer VARCHAR(255),
  TijdsplanningDATUMvan VARCHAR(255),
  TijdsplanningDATUMtm VARCHAR(255),
  ProjectduurPer8uur VARCHAR(255),
  InkoopDagtariefOpdrachtgever VARCHAR(255),
  VerkoopDagtariefConsultant VARCHAR(255),
  CommentaarCONSULTANT MEDIUMTEXT,
  CommentaarADMIN MEDIUMTEXT,
  AFSLUITEN VARCHAR(255)
);

-- Per-project data of the network, one row (or more) per project, keyed by the
-- project's row number. No key of its own.
CREATE TABLE IF NOT EXISTS TALVERO_PROJECT_DATA (
  nummer VARCHAR(255),
  Gegevens MEDIUMTEXT
);

CREATE TABLE IF NOT EXISTS TALVERO_berichten (
  Bericht MEDIUMTEXT
);

USE kordamrg_KORDAMdeclaraties;

CREATE TABLE IF NOT EXISTS Declaraties (
  Factuurnummer VARCHAR(255),
  Projectnaam VARCHAR(255),
  Opdrachtgevernaam VARCHAR(255),
  Consultantnaam VARCHAR(255),
  IsbetaaldOpdrachtgever VARCHAR(255),
  IsbetaaldConsultant VARCHAR(255),
  uren VARCHAR(255),
  peruurUIT VARCHAR(255),
  urentotaaluit VARCHAR(255),
  kilometers VARCHAR(255),
  perKM VARCHAR(255),
  totaalkostenKM VARCHAR(255),
  onkosten VARCHAR(255),
  kostenomschrijving VARCHAR(255),
  subtotaaluit VARCHAR(255),
  BTWuit VARCHAR(255),
  totaaluit VARCHAR(255)
);

-- The program's account may do exactly what the program does, table by table, and no
-- more: the tables are shared with the network's other programs, and a workstation's
-- password is no key to their structure or to the rows the program only reads. Whatever
-- was granted before (a data directory from when the account had every privilege) goes
-- first, so every load leaves exactly these. Table grants need their tables, so they
-- come last. The README lists the same statements for the network's server.
REVOKE ALL PRIVILEGES, GRANT OPTION FROM 'kordamrg'@'localhost', 'kordamrg'@'127.0.0.1';
-- Sign-in: the administrators' credentials are only read.
GRANT SELECT ON kordamrg_KORDAMdata.TALVERO_ADMINISTRATOR TO 'kordamrg'@'localhost', 'kordamrg'@'127.0.0.1';
-- Sign-in: the login log is read for its columns (no rows) and added to.
GRANT SELECT, INSERT ON kordamrg_KORDAMdata.LOGINadministrator TO 'kordamrg'@'localhost', 'kordamrg'@'127.0.0.1';
-- The lists and presence read them and registration adds to them. Signing off changes
-- the consultant's row; the bound boxes' edits change clients and projects.
GRANT SELECT, INSERT, UPDATE ON kordamrg_KORDAMdata.TALVERO_consultants TO 'kordamrg'@'localhost', 'kordamrg'@'127.0.0.1';
GRANT SELECT, INSERT, UPDATE ON kordamrg_KORDAMdata.TALVERO_opdrachtgevers TO 'kordamrg'@'localhost', 'kordamrg'@'127.0.0.1';
GRANT SELECT, INSERT, UPDATE ON kordamrg_KORDAMdata.TALVERO_projecten TO 'kordamrg'@'localhost', 'kordamrg'@'127.0.0.1';
-- A project's number is chosen past its data rows; deleting a project deletes its row.
GRANT SELECT, DELETE ON kordamrg_KORDAMdata.TALVERO_PROJECT_DATA TO 'kordamrg'@'localhost', 'kordamrg'@'127.0.0.1';
-- The broadcast message: its one row is read and rewritten, never added or removed.
GRANT SELECT, UPDATE ON kordamrg_KORDAMdata.TALVERO_berichten TO 'kordamrg'@'localhost', 'kordamrg'@'127.0.0.1';
-- Invoicing and the payment overview only read the declarations.
GRANT SELECT ON kordamrg_KORDAMdeclaraties.Declaraties TO 'kordamrg'@'localhost', 'kordamrg'@'127.0.0.1';
