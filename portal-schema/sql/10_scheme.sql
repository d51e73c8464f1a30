-- One PostgreSQL schema per portal scheme, owned by the role of the same
-- name. Everything below is created as that owner, so tables, views and the
-- package belong to it and the package runs with its rights.

DROP SCHEMA IF EXISTS __SCHEME__ CASCADE;
CREATE SCHEMA __SCHEME__ AUTHORIZATION __SCHEME__;
REVOKE ALL ON SCHEMA __SCHEME__ FROM PUBLIC;

SET LOCAL ROLE __SCHEME__;
SET LOCAL search_path = __SCHEME__, pg_temp;
-- Backslashes in literals are literal: portal texts keep their "\u" escapes.
SET LOCAL standard_conforming_strings = on;
