" Form files of the Tirvendal designer.
autocmd BufRead,BufNewFile *.xfm setfiletype xfm
