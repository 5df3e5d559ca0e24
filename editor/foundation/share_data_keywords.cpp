// The keyword sets a new record receives: each language's own reserved words, directives, tags or
// control words.
#include <iterator>

#include "editor/foundation/share_data.h"
#include "platform/sjis_literal.h"

namespace {

constexpr const char* kSet0[] = {
    "#define", "#elif", "#else", "#endif", "#error", "#if", "#ifdef", "#ifndef", "#include", "#line",
    "#pragma", "#undef", "__FILE__", "__LINE__", "__DATE__", "__TIME__", "__STDC__", "__cplusplus", "defined",
    "asm", "auto", "bool", "break", "case", "catch", "char", "class", "const", "const_cast", "continue",
    "default", "delete", "do", "double", "dynamic_cast", "else", "enum", "explicit", "export", "extern",
    "false", "float", "for", "friend", "goto", "if", "inline", "int", "long", "mutable", "namespace", "new",
    "operator", "private", "protected", "public", "register", "reinterpret_cast", "return", "short", "signed",
    "sizeof", "static", "static_cast", "struct", "switch", "template", "this", "throw", "true", "try",
    "typedef", "typeid", "typename", "union", "unsigned", "using", "virtual", "void", "volatile", "wchar_t",
    "while", "and", "and_eq", "bitand", "bitor", "compl", "not",
};
static_assert(std::size(kSet0) == 88);

constexpr const char* kSet1[] = {
    "_blank", "_parent", "_self", "_top", "A", "ABBR", "ACRONYM", "ADDRESS", "APPLET", "AREA", "B", "BASE",
    "BASEFONT", "BDO", "BIG", "BLOCKQUOTE", "BODY", "BR", "BUTTON", "CAPTION", "CENTER", "CITE", "CODE",
    "COL", "COLGROUP", "DD", "DEL", "DFN", "DIR", "DIV", "DL", "DT", "EM", "EMBED", "FIELDSET", "FONT",
    "FORM", "FRAME", "FRAMESET", "H1", "H2", "H3", "H4", "H5", "H6", "HEAD", "HR", "HTML", "I", "IFRAME",
    "IMG", "INPUT", "INS", "ISINDEX", "KBD", "LABEL", "LEGEND", "LI", "LINK", "MAP", "MARQUEE", "MENU",
    "META", "NOBR", "NOFRAMES", "NOSCRIPT", "OBJECT", "OL", "OPTGROUP", "OPTION", "P", "PARAM", "PRE", "Q",
    "S", "SAMP", "SCRIPT", "SELECT", "SMALL", "SPAN", "STRIKE", "STRONG", "STYLE", "SUB", "SUP", "TABLE",
    "TBODY", "TD", "TEXTAREA", "TFOOT", "TH", "THEAD", "TITLE", "TR", "TT", "U", "UL", "VAR", "WBR", "ACCEPT",
    "ACCEPT-CHARSET", "ACCESSKEY", "ACTION", "ALIGN", "ALINK", "ALT", "ARCHIVE", "AXIS", "BACKGROUND",
    "BGCOLOR", "BORDER", "CELLPADDING", "CELLSPACING", "CHAR", "CHAROFF", "CHARSET", "CHECKED", "CLASS",
    "CLASSID", "CLEAR", "CODEBASE", "CODETYPE", "COLOR", "COLS", "COLSPAN", "COMPACT", "CONTENT", "COORDS",
    "DATA", "DATETIME", "DECLARE", "DEFER", "DISABLED", "ENCTYPE", "FACE", "FOR", "FRAMEBORDER", "HEADERS",
    "HEIGHT", "HREF", "HREFLANG", "HSPACE", "HTTP-EQUIV", "ID", "ISMAP", "LANG", "LANGUAGE", "LEFTMARGIN",
    "LONGDESC", "MARGINHEIGHT", "MARGINWIDTH", "MAXLENGTH", "MEDIA", "METHOD", "MULTIPLE", "NAME", "NOHREF",
    "NORESIZE", "NOSHADE", "NOWRAP", "ONBLUR", "ONCHANGE", "ONCLICK", "ONDBLCLICK", "ONFOCUS", "ONKEYDOWN",
    "ONKEYPRESS", "ONKEYUP", "ONLOAD", "ONMOUSEDOWN", "ONMOUSEMOVE", "ONMOUSEOUT", "ONMOUSEOVER", "ONMOUSEUP",
    "ONRESET", "ONSELECT", "ONSUBMIT", "ONUNLOAD", "PROFILE", "PROMPT", "READONLY", "REL", "REV", "ROWS",
    "ROWSPAN", "RULES", "SCHEME", "SCOPE", "SCROLLING", "SELECTED", "SHAPE", "SIZE", "SRC", "STANDBY",
    "START", "SUMMARY", "TABINDEX", "TARGET", "TEXT", "TOPMARGIN", "TYPE", "USEMAP", "VALIGN", "VALUE",
    "VALUETYPE", "VERSION", "VLINK", "VSPACE", "WIDTH", "LEFT", "RIGHT", "TOP", "MIDDLE", "BOTTOM",
    "ABSMIDDLE", "ABSBOTTOM", "BASELINE", "TEXTTOP", "JUSTIFY", "GET", "POST", "CHECKBOX", "RADIO", "SUBMIT",
    "RESET", "FILE", "HIDDEN", "PASSWORD", "IMAGE", "RECT", "CIRCLE", "POLY", "DEFAULT", "ALL", "NONE",
    "GROUPS", "ROW", "ROWGROUP", "VOID", "ABOVE", "BELOW", "HSIDES", "VSIDES", "LHS", "RHS", "BOX", "AUTO",
    "YES", "NO", "DOCTYPE", "PUBLIC", "SECTION",
};
static_assert(std::size(kSet1) == 252);

constexpr const char* kSet2[] = {
    "AND", "AS", "BEGIN", "BINARY_INTEGER", "BODY", "BOOLEAN", "BY", "CASE", "CHAR", "CLOSE", "COMMIT",
    "CONSTANT", "CREATE", "CURSOR", "DATE", "DECLARE", "DEFAULT", "DELETE", "DESC", "DISTINCT", "ELSE",
    "ELSIF", "END", "EXCEPTION", "EXISTS", "EXIT", "FALSE", "FETCH", "FOR", "FROM", "FUNCTION", "GOTO",
    "GROUP", "HAVING", "IF", "IN", "INDEX", "INSERT", "INTO", "IS", "LIKE", "LOOP", "MINUS", "NOT", "NULL",
    "NUMBER", "OF", "ON", "OPEN", "OR", "ORDER", "OTHERS", "OUT", "PACKAGE", "PRAGMA", "PROCEDURE", "RAISE",
    "RECORD", "REPLACE", "RETURN", "ROLLBACK", "ROWTYPE", "SAVEPOINT", "SELECT", "SET", "SQL", "TABLE",
    "THEN", "TRUE", "TYPE", "UNION", "UPDATE", "VALUES", "VARCHAR2", "VIEW", "WHEN", "WHERE", "WHILE",
    "INTEGER", "BETWEEN",
};
static_assert(std::size(kSet2) == 80);

constexpr const char* kSet3[] = {
    "ACCEPT", "ADD", "ADVANCING", "AFTER", "ALL", "ALPHABETIC", "ALSO", "ALTER", "AND", "ARE", "AREA",
    "ASCENDING", "ASSIGN", "AT", "AUTHOR", "BEFORE", "BLANK", "BLOCK", "BY", "CALL", "CANCEL", "CHARACTER",
    "CHARACTERS", "CLOSE", "COMPUTATIONAL", "COMPUTE", "CONFIGURATION", "CONTAINS", "CONTINUE", "COPY",
    "CORRESPONDING", "DATA", "DECLARATIVES", "DELETE", "DELIMITED", "DEPENDING", "DESCENDING", "DISPLAY",
    "DIVIDE", "DIVISION", "DOWN", "ELSE", "END", "END-IF", "END-PERFORM", "ENVIRONMENT", "EQUAL", "ERROR",
    "EVALUATE", "EXIT", "EXTEND", "FD", "FILE", "FILE-CONTROL", "FILLER", "FROM", "GIVING", "GO", "GREATER",
    "IDENTIFICATION", "IF", "IN", "INDEXED", "INITIALIZE", "INPUT", "INPUT-OUTPUT", "INSPECT", "INTO", "IS",
    "KEY", "LABEL", "LESS", "LINE", "LINKAGE", "MOVE", "MULTIPLY", "NEXT", "NOT", "NUMERIC", "OCCURS", "OF",
    "OPEN", "OR", "ORGANIZATION", "OUTPUT", "PERFORM", "PIC", "PICTURE", "PROCEDURE", "PROGRAM-ID", "READ",
    "RECORD", "REDEFINES", "RELATIVE", "REMAINDER", "REWRITE", "ROUNDED", "SECTION", "SELECT", "SEQUENTIAL",
    "SET",
};
static_assert(std::size(kSet3) == 101);

constexpr const char* kSet4[] = {
    "abstract", "assert", "boolean", "break", "byte", "case", "catch", "char", "class", "const", "continue",
    "default", "do", "double", "else", "enum", "extends", "final", "finally", "float", "for", "goto", "if",
    "implements", "import", "instanceof", "int", "interface", "long", "native", "new", "package", "private",
    "protected", "public", "return", "short", "static", "super", "switch", "synchronized", "this", "throw",
    "throws", "transient", "try", "void", "volatile", "while",
};
static_assert(std::size(kSet4) == 49);

constexpr const char* kSet5[] = {
    "any", "attribute", "boolean", "case", "char", "const", "context", "default", "double", "enum",
    "exception", "FALSE", "fixed", "float", "in", "inout", "interface", "long", "module", "Object", "octet",
    "oneway", "out", "raises", "readonly", "sequence", "short", "string", "struct", "switch", "TRUE",
    "typedef", "unsigned", "union", "void", "wchar", "wstring",
};
static_assert(std::size(kSet5) == 37);

constexpr const char* kSet6[] = {
    "BEGIN", "END", "next", "exit", "func", "function", "getline", "print", "printf", "return", "if", "else",
    "while", "for", "do", "break", "continue", "delete", "in", "nextfile", "ARGC", "ARGV", "CONVFMT",
    "ENVIRON", "FILENAME", "FNR", "FS", "NF", "NR", "OFMT", "OFS", "ORS", "RLENGTH", "RS", "RSTART", "SUBSEP",
    "atan2", "cos", "exp", "int", "log", "rand", "sin", "sqrt", "srand", "gsub", "index", "length", "match",
    "split", "sprintf", "sub", "substr", "tolower", "toupper", "close", "fflush", "system", "ARGIND", "ERRNO",
    "FIELDWIDTHS", "IGNORECASE", "RT", "BINMODE", "LINT", "PROCINFO", "TEXTDOMAIN", "asort", "asorti",
    "gensub", "strftime", "systime", "mktime", "and", "or", "xor", "compl", "lshift", "rshift", "strtonum",
    "dcgettext", "bindtextdomain", "include", "load", "namespace", "patsplit",
};
static_assert(std::size(kSet6) == 86);

constexpr const char* kSet7[] = {
    "PATH", "PROMPT", "TEMP", "TMP", "TZ", "COMSPEC", "CONFIG", "DIRCMD", "COPYCMD", "ERRORLEVEL", "EXIST",
    "NOT", "DEFINED", "CALL", "CD", "CHDIR", "CLS", "COPY", "DATE", "DEL", "DIR", "ECHO", "ENDLOCAL", "ERASE",
    "EXIT", "FOR", "GOTO", "IF", "MD", "MKDIR", "MOVE", "PAUSE", "POPD", "PUSHD", "RD", "REM", "REN",
    "RENAME", "RMDIR", "SET", "SETLOCAL", "SHIFT", "START", "TIME", "TITLE", "TYPE", "VER", "VERIFY", "VOL",
    "ATTRIB", "CHOICE", "DO", "IN", "OFF", "ON", "FIND", "MORE", "SORT", "XCOPY", "NUL", "CON", "PRN", "AUX",
    "LPT1", "LPT2", "LPT3", "COM1", "COM2", "COM3", "COM4", "CLOCK$", "WINDIR",
};
static_assert(std::size(kSet7) == 72);

constexpr const char* kSet8[] = {
    "and", "exports", "mod", "shr", "array", "as", "asm", "begin", "case", "class", "const", "constructor",
    "destructor", "dispinterface", "div", "do", "downto", "else", "end", "except", "file", "finalization",
    "finally", "for", "function", "goto", "if", "implementation", "in", "inherited", "initialization",
    "inline", "interface", "is", "label", "library", "nil", "not", "object", "of", "or", "out", "packed",
    "procedure", "program", "property", "raise", "record", "repeat", "resourcestring", "set", "shl", "string",
    "then", "threadvar", "to", "try", "type", "unit", "until", "uses", "var", "while", "with", "xor",
    "absolute", "abstract", "cdecl", "default", "dynamic",
};
static_assert(std::size(kSet8) == 70);

constexpr const char* kSet9[] = {
    "error", "Warning", "\\aa", "\\AA", "\\acute", "\\ae", "\\AE", "\\aleph", "\\alpha", "\\amalg", "\\angle",
    "\\approx", "\\arccos", "\\arcsin", "\\arctan", "\\arg", "\\arraycolsep", "\\arrayrulewidth",
    "\\arraystretch", "\\ast", "\\asymp", "\\author", "\\backslash", "\\bar", "\\baselineskip",
    "\\baselinestretch", "\\begin", "\\beta", "\\bf", "\\bfseries", "\\bibitem", "\\bibliography",
    "\\bibliographystyle", "\\big", "\\Big", "\\bigcap", "\\bigcirc", "\\bigcup", "\\bigg", "\\Bigg",
    "\\biggl", "\\Biggl", "\\biggm", "\\Biggm", "\\biggr", "\\Biggr", "\\bigl", "\\Bigl", "\\bigm", "\\Bigm",
    "\\bigodot", "\\bigoplus", "\\bigotimes", "\\bigr", "\\Bigr", "\\bigskip", "\\bigsqcup",
    "\\bigtriangledown", "\\bigtriangleup", "\\biguplus", "\\bigvee", "\\bigwedge", "\\bmod", "\\boldmath",
    "\\bot", "\\bowtie", "\\Box", "\\boxed", "\\breve", "\\bullet", "\\cal", "\\cap", "\\caption", "\\cdot",
    "\\cdots", "\\centering", "\\chapter", "\\check", "\\chi", "\\circ", "\\cite", "\\cleardoublepage",
    "\\clearpage", "\\cline", "\\clubsuit", "\\columnsep", "\\columnseprule", "\\cong", "\\coprod",
    "\\copyright", "\\cos", "\\cosh", "\\cot", "\\coth", "\\csc", "\\cup", "\\dag", "\\dagger", "\\dashv",
    "\\date", "\\ddag", "\\ddagger", "\\ddot", "\\ddots", "\\def", "\\deg", "\\delta", "\\Delta", "\\det",
    "\\diamond", "\\Diamond", "\\diamondsuit", "\\dim", "\\displaystyle", "\\div", "\\documentclass",
    "\\documentstyle", "\\dot", "\\doteq", "\\dotfill", "\\downarrow", "\\Downarrow", "\\ell", "\\em",
    "\\emph", "\\emptyset", "\\end", "\\enskip", "\\enspace", "\\epsilon", "\\equiv", "\\eta", "\\exists",
    "\\exp", "\\fbox", "\\flat", "\\flushbottom", "\\fnsymbol", "\\footnote", "\\footnotemark",
    "\\footnotesize", "\\footnotetext", "\\forall", "\\frac", "\\frame", "\\frenchspacing", "\\frown",
    "\\gamma", "\\Gamma", "\\gcd", "\\ge", "\\geq", "\\gets", "\\gg", "\\grave", "\\hat", "\\hbar", "\\hbox",
    "\\headheight", "\\headsep", "\\heartsuit", "\\hfill", "\\hline", "\\hom", "\\hookleftarrow",
    "\\hookrightarrow", "\\hrule", "\\hrulefill", "\\hskip", "\\hspace", "\\Huge", "\\huge", "\\i", "\\iff",
    "\\Im", "\\imath", "\\in", "\\include", "\\includegraphics", "\\includeonly", "\\indent", "\\inf",
    "\\infty", "\\input", "\\int", "\\intextsep", "\\iota", "\\it", "\\item", "\\itemindent", "\\itemsep",
    "\\itshape", "\\j", "\\jmath", "\\Join", "\\kappa", "\\ker", "\\kill", "\\l", "\\L", "\\label",
    "\\lambda", "\\Lambda", "\\land", "\\langle", "\\LARGE", "\\Large", "\\large", "\\LaTeX", "\\lbrace",
    "\\lbrack", "\\lceil", "\\ldots", "\\le", "\\leadsto", "\\left", "\\leftarrow", "\\Leftarrow",
    "\\leftharpoondown", "\\leftharpoonup", "\\leftmargin", "\\leftrightarrow", "\\Leftrightarrow", "\\leq",
    "\\lfloor", "\\lg", "\\lhd", "\\lim", "\\liminf", "\\limsup", "\\line", "\\linebreak", "\\linewidth",
    "\\listoffigures", "\\listoftables", "\\ll", "\\ln", "\\lnot", "\\log", "\\longleftarrow",
    "\\Longleftarrow", "\\longleftrightarrow", "\\Longleftrightarrow", "\\longmapsto", "\\longrightarrow",
    "\\Longrightarrow", "\\lor", "\\lq", "\\makebox", "\\maketitle", "\\mapsto", "\\marginpar", "\\mathbf",
    "\\mathcal", "\\mathit", "\\mathrm", "\\mathsf", "\\mathtt", "\\max", "\\mbox", "\\mdseries", "\\medskip",
    "\\mho", "\\mid", "\\min", "\\mit", "\\models", "\\mp", "\\mu", "\\multicolumn", "\\multiput", "\\nabla",
    "\\natural", "\\ne", "\\nearrow", "\\neg", "\\neq", "\\newcommand", "\\newenvironment", "\\newline",
    "\\newpage", "\\newtheorem", "\\ni", "\\noindent", "\\nolinebreak", "\\nonumber", "\\nopagebreak",
    "\\normalsize", "\\not", "\\nu", "\\nwarrow", "\\o", "\\O", "\\odot", "\\oe", "\\OE", "\\oint", "\\omega",
    "\\Omega", "\\ominus", "\\oplus", "\\oslash", "\\otimes", "\\oval", "\\overbrace", "\\overline", "\\owns",
    "\\P", "\\pagebreak", "\\pagenumbering", "\\pageref", "\\pagestyle", "\\par", "\\paragraph", "\\parallel",
    "\\parbox", "\\parindent", "\\parskip", "\\part", "\\partial", "\\perp", "\\phi", "\\Phi", "\\pi", "\\Pi",
    "\\pm", "\\pmod", "\\prec", "\\preceq", "\\prime", "\\prod", "\\propto", "\\protect", "\\ps", "\\psi",
    "\\Psi", "\\put", "\\qquad", "\\quad", "\\raggedbottom", "\\raggedleft", "\\raggedright", "\\raisebox",
    "\\rangle", "\\rbrace", "\\rbrack", "\\rceil", "\\Re", "\\ref", "\\renewcommand", "\\renewenvironment",
    "\\rfloor", "\\rhd", "\\rho", "\\right", "\\rightarrow", "\\Rightarrow", "\\rightharpoondown",
    "\\rightharpoonup", "\\rightleftharpoons", "\\rm", "\\rmfamily", "\\roman", "\\Roman", "\\rq", "\\rule",
    "\\S", "\\sb", "\\sc", "\\scriptscriptstyle", "\\scriptsize", "\\scriptstyle", "\\scshape", "\\searrow",
    "\\sec", "\\section", "\\setcounter", "\\setlength", "\\setminus", "\\sf", "\\sffamily", "\\sharp",
    "\\shortstack", "\\sigma", "\\Sigma", "\\sim", "\\simeq", "\\sin", "\\sinh", "\\sl", "\\slshape",
    "\\small", "\\smallint", "\\smallskip", "\\smile", "\\sp", "\\spadesuit", "\\sqcap", "\\sqcup", "\\sqrt",
    "\\sqsubset", "\\sqsubseteq", "\\sqsupset", "\\sqsupseteq", "\\ss", "\\stackrel", "\\star",
    "\\subparagraph", "\\subsection", "\\subset", "\\subseteq", "\\subsubsection", "\\succ", "\\succeq",
    "\\sum", "\\sup", "\\supset", "\\supseteq", "\\surd", "\\swarrow", "\\tabcolsep", "\\tableofcontents",
    "\\tan", "\\tanh", "\\tau", "\\TeX", "\\textbf", "\\textheight", "\\textit", "\\textrm", "\\textsc",
    "\\textsf", "\\textsl", "\\textstyle", "\\texttt", "\\textwidth", "\\thanks", "\\thebibliography",
    "\\theta", "\\Theta", "\\thicklines", "\\thinlines", "\\thispagestyle", "\\tilde", "\\times", "\\tiny",
    "\\title", "\\to", "\\top", "\\topmargin", "\\triangle", "\\triangleleft", "\\triangleright", "\\tt",
    "\\ttfamily", "\\underbrace", "\\underline", "\\unitlength", "\\unlhd", "\\unrhd", "\\uparrow",
    "\\Uparrow", "\\updownarrow", "\\Updownarrow", "\\uplus", "\\upsilon", "\\Upsilon", "\\upshape",
    "\\usepackage", "\\varepsilon", "\\varphi", "\\varpi", "\\varrho", "\\varsigma", "\\vartheta", "\\vdash",
    "\\vdots", "\\vec", "\\vector", "\\vee", "\\verb", "\\vfill", "\\vline", "\\vskip", "\\vspace", "\\wedge",
    "\\widehat", "\\widetilde", "\\wp", "\\wr", "\\xi", "\\Xi", "\\zeta",
};
static_assert(std::size(kSet9) == 493);

constexpr const char* kSet10[] = {
    "abstract", "arraycenter", "description", "document", "displaymath", "enumerate", "eqnarray", "equation",
    "figure", "flushleft", "flushright", "itemize", "list", "math", "minipage", "picture", "quotation",
    "quote", "tabbing", "table", "tabular", "thebibliography", "theindex", "theorem", "titlepage", "trivlist",
    "verbatim", "verse", "center", "array", "letter", "report", "book", "article", "slides", "proc",
    "a4paper", "a5paper", "b5paper", "letterpaper", "legalpaper", "executivepaper", "landscape", "10pt",
    "11pt", "12pt", "oneside", "twoside", "draft", "final", "titlepage_opt", "notitlepage", "onecolumn",
    "twocolumn", "openright", "openany", "leqno", "fleqn", "openbib", "jarticle", "jbook", "jreport",
    "tarticle", "tbook", "treport", "graphicx", "graphics", "color", "amsmath", "amssymb", "amsthm",
    "hyperref", "geometry", "fancyhdr", "float", "multicol", "longtable", "tabularx", "booktabs", "url",
    "xcolor", "subfigure", "wrapfig", "caption", "makeidx", "index", "natbib", "cite", "times", "helvet",
    "courier", "fontenc", "inputenc", "babel", "ascmac", "okumacro", "plext", "figure*", "table*",
    "equation*", "eqnarray*",
};
static_assert(std::size(kSet10) == 101);

constexpr const char* kSet11[] = {
    "break", "continue", "do", "elsif", "else", "for", "foreach", "goto", "if", "last", "local", "my", "next",
    "no", "our", "package", "redo", "require", "return", "sub", "unless", "until", "use", "while", "and",
    "cmp", "eq", "ge", "gt", "le", "lt", "ne", "not", "or", "xor", "abs", "accept", "alarm", "atan2", "bind",
    "binmode", "bless", "caller", "chdir", "chmod", "chomp", "chop", "chown", "chr", "chroot", "close",
    "closedir", "connect", "cos", "crypt", "dbmclose", "dbmopen", "defined", "delete", "die", "dump", "each",
    "eof", "eval", "exec", "exists", "exit", "exp", "fcntl", "fileno", "flock", "fork", "format", "formline",
    "getc", "getlogin", "getpeername", "getpgrp", "getppid", "getpriority", "getpwnam", "getgrnam",
    "gethostbyname", "getnetbyname", "getprotobyname", "getpwuid", "getgrgid", "getservbyname",
    "gethostbyaddr", "getnetbyaddr", "getprotobynumber", "getservbyport", "getpwent", "getgrent",
    "gethostent", "getnetent", "getprotoent", "getservent", "setpwent", "setgrent", "sethostent", "setnetent",
    "setprotoent", "setservent", "endpwent", "endgrent", "endhostent", "endnetent", "endprotoent",
    "endservent", "getsockname", "getsockopt", "glob", "gmtime", "grep", "hex", "index", "int", "ioctl",
    "join", "keys", "kill", "lc", "lcfirst", "length", "link", "listen", "localtime", "log", "lstat", "map",
    "mkdir", "msgctl", "msgget", "msgrcv", "msgsnd", "oct", "open", "opendir", "ord", "pack", "pipe", "pop",
    "pos", "print", "printf", "prototype", "push", "quotemeta", "rand", "read", "readdir", "readline",
    "readlink", "readpipe", "recv", "ref", "rename", "reset", "reverse", "rewinddir", "rindex", "rmdir",
    "scalar", "seek", "seekdir", "select", "semctl", "semget", "semop", "send", "setpgrp", "setpriority",
    "setsockopt", "shift", "shmctl", "shmget", "shmread", "shmwrite", "shutdown", "sin", "sleep", "socket",
    "socketpair", "sort", "splice", "split", "sprintf", "sqrt", "srand", "stat", "study", "substr", "symlink",
    "syscall", "sysopen", "sysread", "sysseek", "system", "syswrite", "tell", "telldir", "tie", "tied",
    "time", "times", "truncate", "uc", "ucfirst", "umask", "undef", "unlink", "unpack", "unshift", "untie",
    "utime", "values", "vec", "wait", "waitpid", "wantarray", "warn", "write", "x", "lock", "qw",
};
static_assert(std::size(kSet11) == 226);

constexpr const char* kSet12[] = {
    "$ARGV", "$_", "$1", "$2", "$3", "$4", "$5", "$6", "$7", "$8", "$9", "$0", "$&", "$`", "$'", "$+", "$*",
    "$.", "$/", "$|", "$,", "$\\", "$\"", "$;", "$#", "$%", "$=", "$-", "$~", "$^", "$:", "$^L", "$^A", "$?",
    "$!", "$@", "$$", "$<", "$>", "$(", "$)", "$[", "$]", "$^D", "$^F", "$^H", "$^I", "$^M", "$^O", "$^P",
    "$^R", "$^S", "$^T", "$^V", "$^W", "$^X", "@ARGV", "@INC", "@_", "@ISA", "@EXPORT", "@EXPORT_OK", "%ENV",
    "%INC", "%SIG", "$ENV", "$INC", "$SIG", "$ARG", "$MATCH", "$PREMATCH", "$POSTMATCH", "$LAST_PAREN_MATCH",
    "$INPUT_LINE_NUMBER", "$NR", "$INPUT_RECORD_SEPARATOR", "$RS", "$OUTPUT_AUTOFLUSH",
    "$OUTPUT_FIELD_SEPARATOR", "$OFS", "$OUTPUT_RECORD_SEPARATOR", "$ORS", "$LIST_SEPARATOR",
    "$SUBSCRIPT_SEPARATOR", "$SUBSEP", "$FORMAT_PAGE_NUMBER", "$FORMAT_LINES_PER_PAGE", "$FORMAT_LINES_LEFT",
    "$FORMAT_NAME", "$FORMAT_TOP_NAME", "$CHILD_ERROR", "$OS_ERROR", "$ERRNO", "$EVAL_ERROR", "$PROCESS_ID",
    "$PID", "$REAL_USER_ID", "$UID", "$EFFECTIVE_USER_ID", "$EUID", "$REAL_GROUP_ID", "$GID",
    "$EFFECTIVE_GROUP_ID",
};
static_assert(std::size(kSet12) == 103);

constexpr const char* kSet13[] = {
    "And", "As", "Attribute", "Begin", "BeginProperty", "Boolean", "ByRef", "Byte", "ByVal", "Call", "Case",
    "Const", "Currency", "Date", "Declare", "DefBool", "DefByte", "DefCur", "DefDate", "DefDbl", "DefInt",
    "DefLng", "DefObj", "DefSng", "DefStr", "DefVar", "Dim", "Do", "Double", "Each", "Else", "ElseIf", "End",
    "EndProperty", "Enum", "Eqv", "Erase", "Error", "Event", "Exit", "Explicit", "False", "For", "Friend",
    "Function", "Get", "Global", "GoSub", "GoTo", "If", "Imp", "Implements", "In", "Integer", "Is", "Let",
    "Lib", "Like", "Long", "Loop", "LSet", "Me", "Mod", "New", "Next", "Not", "Nothing", "Null", "Object",
    "On", "Open", "Option", "Optional", "Or", "ParamArray", "Preserve", "Private", "Property", "Public",
    "RaiseEvent", "ReDim", "Rem", "Resume", "Return", "RSet", "Select", "Set", "Single", "Static", "Step",
    "Stop", "String", "Sub", "Then", "To", "True", "Type", "TypeOf", "Until", "Variant", "WEnd", "While",
    "With", "WithEvents", "Xor", "Alias",
};
static_assert(std::size(kSet13) == 106);

constexpr const char* kSet14[] = {
    "AppActivate", "Beep", "BeginTrans", "ChDir", "ChDrive", "Abs", "Array", "Asc", "AscB", "AscW", "Atn",
    "CBool", "CByte", "CCur", "CDate", "CDbl", "CDec", "Choose", "Chr", "ChrB", "ChrW", "CInt", "CLng",
    "Close", "Command", "CommitTrans", "Cos", "CreateObject", "CSng", "CStr", "CurDir", "CVar", "CVErr",
    "Date", "DateAdd", "DateDiff", "DatePart", "DateSerial", "DateValue", "Day", "DDB", "DeleteSetting",
    "Dir", "DoEvents", "Environ", "EOF", "Erl", "Err", "Exp", "FileAttr", "FileCopy", "FileDateTime",
    "FileLen", "Filter", "Fix", "Format", "FormatCurrency", "FormatDateTime", "FormatNumber", "FormatPercent",
    "FreeFile", "FV", "GetAllSettings", "GetAttr", "GetAutoServerSettings", "GetObject", "GetSetting", "Hex",
    "Hour", "IIf", "IMEStatus", "Input", "InputB", "InputBox", "InStr", "InStrB", "InStrRev", "Int", "IPmt",
    "IRR", "IsArray", "IsDate", "IsEmpty", "IsError", "IsMissing", "IsNull", "IsNumeric", "IsObject", "Join",
    "Kill", "LBound", "LCase", "Left", "LeftB", "Len", "LenB", "Line", "Load", "LoadPicture", "LoadResData",
    "LoadResPicture", "LoadResString", "Loc", "Lock", "LOF", "Log", "LTrim", "Mid", "MidB", "Minute", "MIRR",
    "MkDir", "Month", "MonthName", "MsgBox", "Name", "Now", "NPer", "NPV", "Oct", "Partition", "Pmt", "PPmt",
    "Print", "PV", "QBColor", "Randomize", "Rate", "Replace", "Reset", "RGB", "Right", "RightB", "RmDir",
    "Rnd", "Rollback", "Round", "RTrim", "SavePicture", "SaveSetting", "Second", "Seek", "SendKeys",
    "SetAttr", "Sgn", "Shell", "Sin", "SLN", "Space", "Spc", "Split", "Sqr", "Str", "StrComp", "StrConv",
    "StrReverse", "Switch", "SYD", "Tab", "Tan", "Time", "Timer", "TimeSerial", "TimeValue", "Trim",
    "TypeName", "UBound", "UCase", "Unload", "Unlock", "Val", "VarType", "Weekday", "WeekdayName", "Width",
    "Write", "Year", "Debug", "Assert", "Clipboard", "App", "Screen", "Printer", "Forms", "Printers",
    "Collection", "Add", "Remove", "Item", "Count",
};
static_assert(std::size(kSet14) == 190);

constexpr const char* kSet15[] = {
    "\\ansi", "\\b", "\\bin", "\\box", "\\brdrb", "\\brdrl", "\\brdrr", "\\brdrt", "\\brdrs", "\\brdrdb",
    "\\brdrw", "\\caps", "\\cell", "\\cellx", "\\cf", "\\colortbl", "\\deff", "\\deflang", "\\emdash",
    "\\endash", "\\f", "\\fi", "\\field", "\\fldinst", "\\fldrslt", "\\fnil", "\\fonttbl", "\\footnote",
    "\\froman", "\\fswiss", "\\fmodern", "\\fscript", "\\fdecor", "\\ftech", "\\fs", "\\i", "\\info",
    "\\intbl", "\\keep", "\\keepn", "\\li", "\\line", "\\mac", "\\margb", "\\margl", "\\margr", "\\margt",
    "\\page", "\\pagebb", "\\paperh", "\\paperw", "\\par", "\\pard", "\\pc", "\\pca", "\\pict", "\\plain",
    "\\qc", "\\qj", "\\ql", "\\qr", "\\ri", "\\row", "\\rtf", "\\sa", "\\sb", "\\scaps", "\\sect", "\\sectd",
    "\\shad", "\\strike", "\\stylesheet", "\\sub", "\\super", "\\tab", "\\trgaph", "\\trowd", "\\tx", "\\ul",
    "\\uldb", "\\ulnone", "\\v",
};
static_assert(std::size(kSet15) == 82);

struct SetDefault {
  const char* name;
  bool caseSensitive;
  const char* const* words;
  int count;
};

#define KEYWORDS(a) a, static_cast<int>(std::size(a))
const SetDefault kSets[] = {
    {"C/C++", true, KEYWORDS(kSet0)},
    {"HTML", false, KEYWORDS(kSet1)},
    {"PL/SQL", false, KEYWORDS(kSet2)},
    {"COBOL", true, KEYWORDS(kSet3)},
    {"Java", true, KEYWORDS(kSet4)},
    {"CORBA IDL", true, KEYWORDS(kSet5)},
    {"AWK", true, KEYWORDS(kSet6)},
    {"MS-DOS batch", false, KEYWORDS(kSet7)},
    {"Pascal", false, KEYWORDS(kSet8)},
    {"TeX", true, KEYWORDS(kSet9)},
    {"TeX2", true, KEYWORDS(kSet10)},
    {"Perl", true, KEYWORDS(kSet11)},
    {"Perl2", true, KEYWORDS(kSet12)},
    {"Visual Basic", false, KEYWORDS(kSet13)},
    {"Visual Basic2", false, KEYWORDS(kSet14)},
    {"リッチテキスト"_sj, true, KEYWORDS(kSet15)},
};
#undef KEYWORDS

}  // namespace

void CShareData::SetDefaultKeywordSets(SharedSettings& settings) {
  CKeywordSetTable& table = settings.KeywordSets;
  table.Reset();
  table.m_nCurrentSet = 0;
  for (int i = 0; i < static_cast<int>(std::size(kSets)); ++i) {
    table.AddSet(kSets[i].name, kSets[i].caseSensitive);
    table.SetKeywordsFromArray(i, kSets[i].count, kSets[i].words);
  }
}
