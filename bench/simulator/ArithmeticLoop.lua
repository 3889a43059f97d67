-- The interpreter benchmark's loop (BM_InterpreterThroughput, 24 unit
-- instructions per pass) written in Lua with the unit's signed 16-bit words,
-- for comparing the interpreter with Lua 5.4's.
--   lua5.4 ArithmeticLoop.lua PASSES [helper|inline]
-- prints seconds and the four results. "helper" (the default) wraps every
-- 16-bit result in a call of s16, five calls a pass that the interpreter has
-- no counterpart of; "inline" writes the same masking in place.
local passes = tonumber(arg[1]) or 10000000
local form = arg[2] or "helper"

local function s16(x)
  x = x & 0xFFFF
  if x >= 0x8000 then return x - 0x10000 end
  return x
end

local function with_helper(n)
  local w0, w1, w2, b6 = 0, 0, 0, 0
  for _ = 1, n do
    local x = s16(w0 * 3 + 7)                  -- LDWORD 0, LDI 3, MUL, LDI 7, ADD
    w1 = x                                     -- STWORD 1
    local y = s16((x & 0xFF) ~ x)              -- LDI 255, AND, LDWORD 1, XOR
    local z = s16((y // 4) | ((w2 & 0xFFFF) >> 8))  -- LDI 2, SHR, LDBYTE 5, OR
    local v = s16(~z)                          -- NOT
    b6 = v & 0xFF                              -- STBYTE 6
    local a = 0
    if v > 100 then                            -- LDI 100, GT, JZ
      w2 = s16(-1 - w2)                        -- LDWORD 2, SUB, STWORD 2
      a = w2
    end
    w0 = s16(a + 1)                            -- LDI 1, ADDSTWORDJMP 0
  end
  return w0, w1, w2, b6
end

-- The same loop; ((e + 0x8000) & 0xFFFF) - 0x8000 is s16(e) in place.
local function inline(n)
  local w0, w1, w2, b6 = 0, 0, 0, 0
  for _ = 1, n do
    local x = ((w0 * 3 + 7 + 0x8000) & 0xFFFF) - 0x8000
    w1 = x
    local y = ((((x & 0xFF) ~ x) + 0x8000) & 0xFFFF) - 0x8000
    local z = ((((y // 4) | ((w2 & 0xFFFF) >> 8)) + 0x8000) & 0xFFFF) - 0x8000
    local v = ((~z + 0x8000) & 0xFFFF) - 0x8000
    b6 = v & 0xFF
    local a = 0
    if v > 100 then
      w2 = ((-1 - w2 + 0x8000) & 0xFFFF) - 0x8000
      a = w2
    end
    w0 = ((a + 1 + 0x8000) & 0xFFFF) - 0x8000
  end
  return w0, w1, w2, b6
end

local loop = ({helper = with_helper, inline = inline})[form]
if not loop then error("form is helper or inline, not " .. form) end
local start = os.clock()
local w0, w1, w2, b6 = loop(passes)
local seconds = os.clock() - start
print(string.format("%.6f %d %d %d %d", seconds, w0, w1, w2, b6))
