# Settings that every target of the project shares, applied target by target.

# Warnings as errors: on in CI (CI=true in the environment), or when asked for.
if(DEFINED ENV{CI} AND "$ENV{CI}")
    set(zarn_werror_default ON)
else()
    set(zarn_werror_default OFF)
endif()
option(ZARN_WARNINGS_AS_ERRORS "Treat compiler warnings as errors" ${zarn_werror_default})

add_library(zarn_warnings INTERFACE)
if(MSVC)
    target_compile_options(zarn_warnings INTERFACE /W4 $<$<BOOL:${ZARN_WARNINGS_AS_ERRORS}>:/WX>)
else()
    target_compile_options(zarn_warnings INTERFACE -Wall -Wextra -Wpedantic
                           $<$<BOOL:${ZARN_WARNINGS_AS_ERRORS}>:-Werror>)
endif()

# C++17 without compiler extensions, hidden symbols unless exported on purpose, and
# the project's warnings.
function(zarn_target_defaults target)
    target_compile_features(${target} PUBLIC cxx_std_17)
    set_target_properties(${target} PROPERTIES
        CXX_EXTENSIONS OFF
        CXX_VISIBILITY_PRESET hidden
        VISIBILITY_INLINES_HIDDEN ON)
    target_link_libraries(${target} PRIVATE zarn_warnings)
endfunction()
