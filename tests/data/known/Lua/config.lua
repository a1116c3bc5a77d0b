-- Reads the settings table and fills in defaults.
local M = {}

--[[ The defaults below match the documented ones;

     change them in one place only. ]]
local defaults = {
  width = 80, -- columns
  marker = "-- not a comment",
  quote = 'it\'s -- still a string',
  banner = [[
-- this line is inside a long string
]],
}

--[=[ a block with ]] inside
      closes only here ]=]
function M.get(key)
  return M[key] or defaults[key]
end --[[ inline ]]
return M
