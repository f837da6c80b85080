-- FOR THE PRIVATE SERVERS OF THE DEMO AND THE TESTS ONLY (scripts/db.sh loads it after
-- db/schema.sql). Never load it on the network's shared server: how that server relates
-- its tables is its own administrators' affair, and Talveros works whether it does or not.
--
-- Talveros deletes a project by deleting its row in TALVERO_PROJECT_DATA and then re-reads
-- its project lists from TALVERO_projecten. These two triggers relate the tables the way a
-- server that keeps them consistent would, so that the demo and the tests can show that
-- path end to end:
--   talveros_project_data_created  a new project gets its (empty) data row, so that every
--                                  project has the row a later deletion looks for;
--   talveros_project_removed       deleting the last data row of a project deletes the
--                                  project row too, so it leaves every project list.
-- Tests that need the tables unrelated drop these triggers for a while and create them
-- again; keep the names.
USE kordamrg_KORDAMdata;

DROP TRIGGER IF EXISTS talveros_project_data_created;
CREATE TRIGGER talveros_project_data_created AFTER INSERT ON TALVERO_projecten
  FOR EACH ROW INSERT INTO TALVERO_PROJECT_DATA (nummer, Gegevens) VALUES (CAST(NEW.nummer AS CHAR), '');

DROP TRIGGER IF EXISTS talveros_project_removed;
CREATE TRIGGER talveros_project_removed AFTER DELETE ON TALVERO_PROJECT_DATA
  FOR EACH ROW DELETE FROM TALVERO_projecten
    WHERE CAST(nummer AS CHAR) = OLD.nummer
      AND NOT EXISTS (SELECT 1 FROM TALVERO_PROJECT_DATA d WHERE d.nummer = OLD.nummer);
