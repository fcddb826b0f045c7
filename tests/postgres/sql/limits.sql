-- A result longer than a value can be (1 GB less its header) is an error,
-- and so is memory the library cannot get; the backend goes on.
SELECT octet_length(cCreateAndFill(1073741820, 'x'));

-- The backend's address space limited to 300 MB more than it holds now:
-- enough for PostgreSQL's own 200 MB string, not for the library's copy.
CREATE TEMP TABLE big (n int);
INSERT INTO big VALUES (200000000);
SELECT pg_backend_pid() AS pid \gset
\setenv TK_PID :pid
\! set -e; as_owner() { if [ "$(id -u)" = 0 ]; then runuser -u "$(stat -c %U /proc/$TK_PID)" -- "$@"; else "$@"; fi; }; as_owner prlimit --pid "$TK_PID" --as=$(( $(awk '/^VmSize/ {print $2}' /proc/$TK_PID/status) * 1024 + 300 * 1048576 ))
SELECT octet_length(repeat('x', n)) FROM big;
SELECT octet_length(cGetIn(repeat('x', n), '|', 1)) FROM big;
SELECT octet_length(cGetIn(repeat('x', 1000), '|', 1));
