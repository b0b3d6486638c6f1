# The bytes each input file puts into the linked program, from a GNU ld link map: sections
# kept in the output, debug sections left out. Prints "BYTES FILE" lines, unsorted.
function hex(text,    i, value) {
  value = 0
  text = tolower(substr(text, 3))
  for (i = 1; i <= length(text); i++) value = value * 16 + index("0123456789abcdef", substr(text, i, 1)) - 1
  return value
}
/^Linker script and memory map/ { inmap = 1; next }
!inmap { next }
# A long section name stands alone; its address, size and file follow on the next line.
/^ \.[^ ]+$/ { pending = $1; next }
{
  section = ""
  if (pending != "" && $1 ~ /^0x/ && NF >= 3) { section = pending; size = $2; file = $3 }
  else if ($1 ~ /^\./ && $2 ~ /^0x/ && $3 ~ /^0x/ && NF >= 4) { section = $1; size = $3; file = $4 }
  pending = ""
  if (section == "" || section ~ /^\.debug/) next
  sub(/.*\//, "", file)
  bytes[file] += hex(size)
}
END { for (f in bytes) if (bytes[f] > 0) print bytes[f], f }
