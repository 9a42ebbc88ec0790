# One interface target carries the warning and Qt strictness flags for every target.
add_library(lexivar_warnings INTERFACE)
target_compile_options(lexivar_warnings INTERFACE -Wall -Wextra -Werror)
target_compile_definitions(lexivar_warnings INTERFACE
    QT_NO_CAST_FROM_ASCII
    QT_NO_NARROWING_CONVERSIONS_IN_CONNECT
    QT_DISABLE_DEPRECATED_BEFORE=0x060000
    SQLITE_HAS_CODEC)
