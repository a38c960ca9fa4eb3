/*
 * File-manager database (rqfileman.fdb, beside the system database): the
 * transfer table through which backups travel between a client and the
 * server's disks.
 *
 * Run against an empty database created with DEFAULT CHARACTER SET SJIS_0208
 * (see schema/README.md):  isql-fb -q -ch UTF8 -i schema/filemanager/1.0.0.sql <database>
 * The two functions come from the UDR plug-in "verudafs" (schema/udr), which
 * must be installed (scripts/install-udr.sh) before this script runs.
 */
SET SQL DIALECT 3;
SET AUTODDL ON;

CREATE TABLE FILETRANS (
  CONTENT_ID  VARCHAR(40) CHARACTER SET ASCII NOT NULL,
  CONTENT     BLOB SUB_TYPE BINARY,
  CONSTRAINT PK_FILETRANS PRIMARY KEY (CONTENT_ID)
);

/* The content of a file on the server as a blob (an error when the file
   cannot be read). */
CREATE FUNCTION SP_FILETOBLOB (
  FILEPATH  VARCHAR(1024) CHARACTER SET UTF8)
RETURNS BLOB SUB_TYPE BINARY
EXTERNAL NAME 'verudafs!filetoblob' ENGINE UDR;

/* Writes a blob into a file on the server (replacing it; written through a
   temporary file and a rename); answers the number of bytes written. */
CREATE FUNCTION SP_BLOBTOFILE (
  FILEPATH  VARCHAR(1024) CHARACTER SET UTF8,
  CONTENT   BLOB SUB_TYPE BINARY)
RETURNS BIGINT
EXTERNAL NAME 'verudafs!blobtofile' ENGINE UDR;

COMMIT;
