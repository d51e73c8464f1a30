-- Bench data: service points listed for one emitent, for timing the bulk
-- buttons of the service-point window. Run after fill_clients.sql:
--
--   psql -v ON_ERROR_STOP=1 -X -q -d CONNINFO -v scheme=tev -v emitent=100 \
--        [-v points=5000] -f bench/fill_pos.sql
--
-- Deterministic: names and addresses derive from the row number; every
-- tenth name carries a "\u" escape as the exchange stores them.

\if :{?points}
\else
    \set points 5000
\endif

SET search_path = :scheme;

INSERT INTO tev_pos (emitent_id_web, emitent_id_web_owner, pos_number, pos_name, pos_address, isvisible, isupdate)
SELECT :emitent, :emitent, n,
       CASE WHEN n % 10 = 0 THEN 'Station \u00C9toile ' || n ELSE 'АЗС № ' || n END,
       'г. Тверь, ул. Садовая, д. ' || n,
       n % 2, 1
FROM generate_series(1, :points) AS n;
