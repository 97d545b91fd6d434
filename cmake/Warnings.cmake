# Compiler settings shared by every target of the project.
add_compile_options(-Wall -Wextra)
# Game arithmetic rounds each operation on its own; fused multiply-add would
# change results, so contraction stays off everywhere.
add_compile_options(-ffp-contract=off)
if(TERVO_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  add_link_options(-fsanitize=address,undefined)
endif()
if(TERVO_SANITIZE_THREAD)
  add_compile_options(-fsanitize=thread -fno-omit-frame-pointer)
  add_link_options(-fsanitize=thread)
endif()
