// Reads SQLGetDiagRec until SQL_NO_DATA so that no driver message is dropped.
#include "odbc/diagnostics.h"

#include <sql.h>
#include <sqlext.h>

#include <string>

namespace kavero::odbc::detail {

std::vector<DiagnosticRecord> collectDiagnostics(short handleType, void* handle) {
    std::vector<DiagnosticRecord> records;
    if (!handle) return records;
    for (SQLSMALLINT i = 1;; ++i) {
        SQLCHAR state[SQL_SQLSTATE_SIZE + 1] = {};
        SQLINTEGER native = 0;
        SQLSMALLINT length = 0;
        std::string message(512, '\0');
        SQLRETURN rc = SQLGetDiagRec(handleType, handle, i, state, &native,
                                     reinterpret_cast<SQLCHAR*>(message.data()),
                                     static_cast<SQLSMALLINT>(message.size()), &length);
        if (rc == SQL_SUCCESS_WITH_INFO && length >= static_cast<SQLSMALLINT>(message.size())) {
            // The message was longer than the buffer: ask again with room for all of it.
            message.assign(static_cast<std::size_t>(length) + 1, '\0');
            rc = SQLGetDiagRec(handleType, handle, i, state, &native, reinterpret_cast<SQLCHAR*>(message.data()),
                               static_cast<SQLSMALLINT>(message.size()), &length);
        }
        if (!SQL_SUCCEEDED(rc)) break;
        message.resize(static_cast<std::size_t>(length) < message.size() ? static_cast<std::size_t>(length)
                                                                          : message.size() - 1);
        records.push_back({reinterpret_cast<const char*>(state), static_cast<long>(native), std::move(message)});
    }
    return records;
}

void check(short rc, short handleType, void* handle, std::string_view statement) {
    if (SQL_SUCCEEDED(rc)) return;
    throw Error(collectDiagnostics(handleType, handle), std::string(statement));
}

} // namespace kavero::odbc::detail
