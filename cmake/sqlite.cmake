# SQLite for Windows, compiled from its amalgamation into a static library of its own that the
# engine links. The amalgamation is fetched (pinned, checked) into the build folder, never committed.
set(SQLITE_DIR ${CMAKE_BINARY_DIR}/sqlite)
execute_process(COMMAND ${CMAKE_SOURCE_DIR}/scripts/fetch-sqlite.sh ${SQLITE_DIR} RESULT_VARIABLE sqlite_fetch)
if(NOT sqlite_fetch EQUAL 0)
  message(FATAL_ERROR "SQLite's amalgamation could not be fetched (scripts/fetch-sqlite.sh)")
endif()
add_library(corvane_sqlite STATIC ${SQLITE_DIR}/sqlite3.c)
target_include_directories(corvane_sqlite SYSTEM PUBLIC ${SQLITE_DIR})
# Only what the engine needs: no extensions loaded from files, no deprecated or shared-cache paths;
# threads serialised per connection; freed pages zeroed by default.
target_compile_definitions(corvane_sqlite PRIVATE
  SQLITE_THREADSAFE=1 SQLITE_OMIT_LOAD_EXTENSION SQLITE_DEFAULT_FOREIGN_KEYS=0
  SQLITE_SECURE_DELETE SQLITE_OMIT_DEPRECATED SQLITE_OMIT_SHARED_CACHE
  SQLITE_DEFAULT_MEMSTATUS=0 SQLITE_LIKE_DOESNT_MATCH_BLOBS SQLITE_WIN32_NO_ANSI
  # Reads and writes at a file position, not through an OVERLAPPED offset: Wine answers every
  # such call with a round trip to its server, which made a history erase several times slower.
  SQLITE_WIN32_NO_OVERLAPPED)
target_compile_options(corvane_sqlite PRIVATE -O2 -w)

# The JSON reader is header-only and lives in the host's /usr/include, which a Windows build must
# never search as a whole (its C headers would shadow mingw's): only its own folder is exposed.
find_path(NLOHMANN_JSON_DIR nlohmann/json.hpp PATHS /usr/include NO_DEFAULT_PATH NO_CMAKE_FIND_ROOT_PATH)
if(NOT NLOHMANN_JSON_DIR)
  message(FATAL_ERROR "nlohmann/json.hpp not found: install nlohmann-json3-dev (scripts/deps.sh)")
endif()
set(JSON_INCLUDE ${CMAKE_BINARY_DIR}/json-include)
file(MAKE_DIRECTORY ${JSON_INCLUDE})
file(CREATE_LINK ${NLOHMANN_JSON_DIR}/nlohmann ${JSON_INCLUDE}/nlohmann SYMBOLIC)
add_library(corvane_json INTERFACE)
target_include_directories(corvane_json SYSTEM INTERFACE ${JSON_INCLUDE})
