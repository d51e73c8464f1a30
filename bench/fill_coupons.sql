-- Bench data: coupons to archive. Run after portal-schema/install, as the
-- installing user:
--
--   psql -v ON_ERROR_STOP=1 -X -q -d CONNINFO -v scheme=tev [-v coupons=100000] -f bench/fill_coupons.sql
--
-- Adds that many coupons of the first emitent, all created before yesterday,
-- and marks every recorded archive session finished, so that a run starts a
-- new session. Deterministic: everything is derived from the row number.

\if :{?scheme}
\else
    \echo 'fill_coupons.sql: set -v scheme=...'
    \quit
\endif
\if :{?coupons}
\else
    \set coupons 100000
\endif

BEGIN;
SET LOCAL search_path = :"scheme";
INSERT INTO tev_coupons (coupon_id, emitent_id_web, client_id_web, coupon_number, service_name, amount, date_of)
SELECT 1000000 + n, 1, 1 + n % 20, 'B-' || lpad(n::text, 9, '0'), (ARRAY['АИ-92', 'АИ-95', 'ДТ'])[1 + n % 3],
       10 * (1 + n % 5), date_trunc('day', localtimestamp(0)) - interval '2 days' - n * interval '7 minutes'
FROM generate_series(1, :coupons) AS n;
UPDATE tev_archive_data SET state = 3;
COMMIT;
ANALYZE :"scheme".tev_coupons;
