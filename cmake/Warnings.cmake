# Warnings on everywhere; errors when KELZU_WERROR is set (CI sets it).
add_library(kelzu_warnings INTERFACE)
if(MSVC)
  target_compile_options(kelzu_warnings INTERFACE /W4 $<$<BOOL:${KELZU_WERROR}>:/WX>)
else()
  target_compile_options(kelzu_warnings INTERFACE -Wall -Wextra -Wpedantic $<$<BOOL:${KELZU_WERROR}>:-Werror>)
endif()
