# Builds a target's sources as one translation unit. Most of the time spent
# on lcd_host and on the test programs went into reading and instantiating
# the same headers (CLI11, GoogleTest) in every file; read once, each target
# builds in a fraction of that, on every lane. The price: a file that leans
# on an include of an earlier file still builds, so keep each file's
# includes its own.
function(hd66712_one_unit target)
  set_target_properties(${target} PROPERTIES UNITY_BUILD ON UNITY_BUILD_BATCH_SIZE 0)
endfunction()
