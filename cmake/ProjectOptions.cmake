# Warnings for the project's own code, as errors. Third-party code is never built with these.
function(zz_project_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wshadow -Werror)
endfunction()

# What ships in the plug-in also keeps every stack frame small: the editor calls us on its UI thread.
function(zz_plugin_options target)
  zz_project_warnings(${target})
  target_compile_options(${target} PRIVATE -Wframe-larger-than=16384)
  target_include_directories(${target} PUBLIC ${PROJECT_SOURCE_DIR}/src)
endfunction()
