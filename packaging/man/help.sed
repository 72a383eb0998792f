# help2man reads each program's --help through this filter (sed -E). The usage
# clause goes: every page gives its synopsis in its .h2m file, and help2man would
# put a usage line it does not recognise, or its continuation lines, into the
# description. A heading ("options:") gets the capital help2man looks for.
/^[Uu]sage:/,/^[^ ]/{
  /^[Uu]sage:/d
  /^ /d
}
s/^([a-z])([a-z ]{0,30}:)$/\u\1\2/
# A row of a table under an option ("  sirf-binary  the same receiver ...") starts a
# paragraph, or help2man runs it into the option's text.
s/^( {10,}[a-z][a-z0-9:, -]*[a-z0-9]  )/\n\1/
