/* Specified taxable purchases: the operator's facility and last access. */
ALTER TABLE OPERATOR ADD SISETUNO INTEGER DEFAULT 0;
ALTER TABLE OPERATOR ADD ACCTIME TIMESTAMP;
COMMIT;
