# The PostgreSQL extension (CREATE EXTENSION twinekit), built with PGXS in a
# directory of its own:
#
#   mkdir -p build/postgres
#   make -C build/postgres -f "$PWD/src/sql/postgres.mk" [all | install | installcheck]
#
# twinekit.so is postgres_extension.c, compiled by PGXS with the server's
# own flags, linked with archives of position-independent code from the
# CMake build in TK_BUILD (default build/native, configured if need be):
# postgres_call.cpp, the SQL layer, the call layer and the library's
# objects.  Their symbols stay inside the module.  The install script, the
# control file and the list of C functions are written from the export
# table.  installcheck runs tests/postgres through pg_regress against the
# server that PGHOST/PGPORT name (scripts/test-postgres.sh starts one).

TK_ROOT := $(abspath $(dir $(lastword $(MAKEFILE_LIST)))../..)
TK_BUILD ?= $(TK_ROOT)/build/native
TK_VERSION := $(shell sed -n 's/^project.TwineKit VERSION \([0-9.]*\).*/\1/p' $(TK_ROOT)/CMakeLists.txt)
TK_ARCHIVES := $(addprefix $(TK_BUILD)/lib,$(addsuffix .a,\
  twinekit_postgres_calls twinekit_sql twinekit_call twinekit_internal))

MODULE_big = twinekit
OBJS = postgres_extension.o
EXTENSION = twinekit
DATA_built = twinekit--$(TK_VERSION).sql
EXTRA_CLEAN = twinekit.control twinekit_functions.h
PG_CPPFLAGS = -I$(TK_ROOT)/src/sql
PG_CFLAGS = -Werror
SHLIB_LINK = -Wl,--exclude-libs,ALL -Wl,--start-group $(TK_ARCHIVES) -Wl,--end-group -lstdc++ -lm

REGRESS = calls schema parallel memory limits
REGRESS_OPTS = --inputdir=$(TK_ROOT)/tests/postgres

# The module holds no code worth the JIT's inlining: no bitcode.
override with_llvm = no

PG_CONFIG ?= /usr/lib/postgresql/15/bin/pg_config
PGXS := $(shell $(PG_CONFIG) --pgxs)
include $(PGXS)

# PGXS takes the directory of this makefile for the sources' (srcdir,
# VPATH), and would install the control file from there; it is written
# here instead.
srcdir = .
vpath %.c $(TK_ROOT)/src/sql

postgres_extension.o: twinekit_functions.h $(TK_ROOT)/src/sql/postgres_call.h
$(shlib): $(TK_ARCHIVES)
$(TK_ARCHIVES): tk-archives ;

twinekit.control $(DATA_built) twinekit_functions.h &: $(TK_ROOT)/src/exports/export_table.h \
    $(TK_ROOT)/scripts/write-postgres-sql.py $(TK_ROOT)/scripts/export_table.py
	python3 $(TK_ROOT)/scripts/write-postgres-sql.py $< $(TK_VERSION) .

.PHONY: tk-archives
tk-archives:
	test -f $(TK_BUILD)/CMakeCache.txt || cmake -S $(TK_ROOT) -B $(TK_BUILD) >/dev/null
	cmake --build $(TK_BUILD) -j$${TK_JOBS:-2} --target twinekit_postgres_calls twinekit_internal
