-- Edits a form in Neovim through designhost lsp as a person would: waits for the findings,
-- completes, hovers, jumps, renames, fixes and formats, applying every edit the server
-- proposes, and writes what it saw, one line a step, to $OUT. Neovim 0.7 or later.
local host, form, out = os.getenv('HOST'), os.getenv('FORM'), os.getenv('OUT')
local root = vim.fn.fnamemodify(form, ':h')
local seen = {}
local function say(text) table.insert(seen, text) end

local function run()
  vim.cmd('edit ' .. vim.fn.fnameescape(form))
  local buf = vim.api.nvim_get_current_buf()
  local id = vim.lsp.start_client({
    name = 'designhost', cmd = { host, 'lsp' }, root_dir = root,
    workspace_folders = { { uri = vim.uri_from_fname(root), name = 'project' } },
    flags = { debounce_text_changes = 20 },
  })
  vim.lsp.buf_attach_client(buf, id)
  local client = vim.lsp.get_client_by_id(id)
  local uri = vim.uri_from_bufnr(buf)

  local function find(text)
    for i, line in ipairs(vim.api.nvim_buf_get_lines(buf, 0, -1, false)) do
      local col = line:find(text, 1, true)
      if col then return i - 1, col - 1 end
    end
    error('no line with ' .. text)
  end
  local function ask(method, line, col, extra)
    local params = vim.tbl_extend('force', { textDocument = { uri = uri },
      position = { line = line, character = col } }, extra or {})
    local reply = client.request_sync(method, params, 10000, buf)
    if not reply or reply.err then error(method .. ': ' .. vim.inspect(reply and reply.err)) end
    return reply.result
  end
  local function labels(result)
    local names = {}
    for _, item in ipairs(result.items or result) do table.insert(names, item.label) end
    return table.concat(names, ' ')
  end
  local function apply(edit) vim.lsp.util.apply_workspace_edit(edit, client.offset_encoding) end
  local function findings()
    vim.wait(10000, function() return #vim.diagnostic.get(buf) > 0 end, 20)
    return vim.diagnostic.get(buf)
  end

  for _, d in ipairs(findings()) do say(('diagnostic %d:%d %s'):format(d.lnum + 1, d.col, d.message)) end

  -- The finding's quick fix, asked for with the diagnostic as the server sent it.
  local d = vim.diagnostic.get(buf)[1]
  local lsp_diagnostic = { range = { start = { line = d.lnum, character = d.col },
    ['end'] = { line = d.end_lnum, character = d.end_col } }, message = d.message, severity = 1,
    source = d.source, data = d.user_data and d.user_data.lsp and d.user_data.lsp.data }
  local actions = ask('textDocument/codeAction', d.lnum, d.col, {
    range = lsp_diagnostic.range, context = { diagnostics = { lsp_diagnostic } } })
  say('code actions: ' .. table.concat(vim.tbl_map(function(a) return a.title end, actions), ' | '))
  apply(actions[1].edit)

  -- A new property line in Loans: its name completed, then the fields of its table in the value.
  local line = find("TableName = 'loan'")
  vim.api.nvim_buf_set_lines(buf, line + 1, line + 1, false, { '    IndexF' })
  say('complete property: ' .. labels(ask('textDocument/completion', line + 1, 10)))
  vim.api.nvim_buf_set_lines(buf, line + 1, line + 2, false, { "    IndexFieldNames = 'mem'" })
  local fields = ask('textDocument/completion', line + 1, 26)
  say('complete field: ' .. labels(fields))
  for _, item in ipairs(fields.items or fields) do
    if item.label == 'member_id' then vim.lsp.util.apply_text_edits({ item.textEdit }, buf, client.offset_encoding) end
  end
  line = find('DataSet = Clients')
  say('complete value: ' .. labels(ask('textDocument/completion', line, 14)))

  local hover = ask('textDocument/hover', find("'customers'"))
  say('hover customers: ' .. hover.contents.value:gsub('\n', ' / '))
  local l, c = find("'library'")
  local target = ask('textDocument/definition', l, c + 1)
  target = target[1] or target
  say(('definition library: %s:%d'):format(vim.fn.fnamemodify(vim.uri_to_fname(target.uri), ':t'), target.range.start.line + 1))
  l, c = find("'Demo'")
  local places = {}
  for _, ref in ipairs(ask('textDocument/references', l, c + 1, { context = { includeDeclaration = true } })) do
    table.insert(places, ('%s:%d'):format(vim.fn.fnamemodify(vim.uri_to_fname(ref.uri), ':t'), ref.range.start.line + 1))
  end
  table.sort(places)
  say('references Demo: ' .. table.concat(places, ' '))

  l, c = find('Clients: TQVRTable')
  local prepared = ask('textDocument/prepareRename', l, c + 3)
  say('prepare rename: ' .. prepared.placeholder)
  local refused = client.request_sync('textDocument/rename', { textDocument = { uri = uri },
    position = { line = l, character = c + 3 }, newName = 'Loans' }, 10000, buf)
  say('rename to Loans: ' .. (refused.err and refused.err.message or 'accepted'))
  apply(ask('textDocument/rename', l, c + 3, { newName = 'Buyers' }))

  -- A database name is renamed across the workspace; the edits are counted, not applied.
  l, c = find("'library'")
  local empty = client.request_sync('textDocument/rename', { textDocument = { uri = uri },
    position = { line = l, character = c + 1 }, newName = '' }, 10000, buf)
  say('rename library to nothing: ' .. (empty.err and empty.err.message or 'accepted'))
  local counts = {}
  for file, edits in pairs(ask('textDocument/rename', l, c + 1, { newName = 'Lending' }).changes) do
    table.insert(counts, ('%s:%d'):format(vim.fn.fnamemodify(vim.uri_to_fname(file), ':t'), #edits))
  end
  table.sort(counts)
  say('rename library to Lending: ' .. table.concat(counts, ' '))

  -- A stray blank and a property out of place: formatting writes the form as a save would.
  l = find('TableName = \'customers\'')
  vim.api.nvim_buf_set_lines(buf, l, l + 1, false, { "    TableName   =   'customers'" })
  local edits = client.request_sync('textDocument/formatting', { textDocument = { uri = uri },
    options = { tabSize = 2, insertSpaces = true } }, 10000, buf).result
  say('formatting: ' .. #edits .. ' edit(s)')
  vim.lsp.util.apply_text_edits(edits, buf, client.offset_encoding)

  vim.wait(10000, function() return #vim.diagnostic.get(buf) == 0 end, 20)
  say('diagnostics after the edits: ' .. #vim.diagnostic.get(buf))
  say('--- the form in the editor')
  for _, text in ipairs(vim.api.nvim_buf_get_lines(buf, 0, -1, false)) do say(text) end
  client.stop()
  vim.wait(5000, function() return client.is_stopped() end, 20)
end

local ok, err = pcall(run)
if not ok then say('error: ' .. tostring(err)) end
vim.fn.writefile(seen, out)
vim.cmd(ok and 'qa!' or 'cq!')
