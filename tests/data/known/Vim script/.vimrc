" Settings of the editor for this project.
set expandtab
set shiftwidth=4
set textwidth=120

  " indented comment
let g:kordel_root = expand('<sfile>:p:h')
let s:note = "a \" quote, not a comment"
nnoremap <leader>c :!kordelc %<CR>

function! s:Count() abort
  return system('kordelc ' . shellescape(expand('%')))
endfunction
command! Count echo s:Count()
