-- FOR THE PRIVATE SERVERS OF THE DEMO AND THE TESTS ONLY (scripts/db.sh and
-- scripts/cluster.sh load it after db/schema.sql). Never load it on the network's shared
-- server.
--
-- The program's account may do only what the program does (see db/schema.sql). The
-- tests' own set-up does more: emptying tables, taking a key away and back, dropping and
-- creating the private triggers, renaming a table away for a while, and writing what the
-- network's other programs write. That runs as this account, over the same connections
-- the program uses (tests/support/TestDb.h names it), so nothing the tests need has to be
-- granted to the program's account.
CREATE USER IF NOT EXISTS 'talveros_admin'@'localhost' IDENTIFIED BY 'private-only';
CREATE USER IF NOT EXISTS 'talveros_admin'@'127.0.0.1' IDENTIFIED BY 'private-only';
GRANT ALL PRIVILEGES ON kordamrg_KORDAMdata.* TO 'talveros_admin'@'localhost', 'talveros_admin'@'127.0.0.1';
GRANT ALL PRIVILEGES ON kordamrg_KORDAMdeclaraties.* TO 'talveros_admin'@'localhost', 'talveros_admin'@'127.0.0.1';
