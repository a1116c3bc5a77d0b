-- Tables of the report service.
CREATE TABLE file_count (
    id      serial PRIMARY KEY,
    path    text NOT NULL, -- as given
    code    integer NOT NULL DEFAULT 0
);

/* One row per file and run;

   old runs are purged nightly. */
INSERT INTO file_count (path, code) VALUES ('a--b.c', 3);
SELECT sum(code) FROM file_count; /* all runs */
