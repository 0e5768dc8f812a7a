" Syntax colouring of form files (*.xfm): objects, their classes, properties and values.
if exists('b:current_syntax')
  finish
endif
syntax case ignore
syntax keyword xfmKeyword object end
syntax keyword xfmBoolean True False
syntax match xfmObject /\<object\s\+\zs\h\w*\ze\s*:/
syntax match xfmClass /:\s*\zsT\w*/
syntax match xfmProperty /^\s*\h[A-Za-z0-9_.]*\ze\s*=/
syntax region xfmString start=/'/ skip=/''/ end=/'/ oneline
syntax match xfmCharCode /#\d\+/
syntax match xfmNumber /-\?\<\d\+\>/
syntax match xfmNumber /\$\x\+/
syntax region xfmSet start=/\[/ end=/\]/ contains=xfmBoolean
highlight default link xfmKeyword Keyword
highlight default link xfmBoolean Boolean
highlight default link xfmObject Identifier
highlight default link xfmClass Type
highlight default link xfmProperty Function
highlight default link xfmString String
highlight default link xfmCharCode SpecialChar
highlight default link xfmNumber Number
highlight default link xfmSet Constant
let b:current_syntax = 'xfm'
