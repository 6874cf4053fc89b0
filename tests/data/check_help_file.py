#!/usr/bin/python3
"""Checks the format of an Orvane 2 help file (ZORKEL.HLP).

Usage: /usr/bin/python3 tests/data/check_help_file.py [--keyword WORD]... PATH

The help file is plain text in Windows-1252 with CR LF line ends:
  ; comment                      ignored
  == <id> | <title>              starts a topic (id: a-z, 0-9, hyphen)
  keywords: word; other words    optional, right after the header
  any other line                 body text of the topic
Body lines join into paragraphs; "- " starts a bullet, which indented
lines carry on; other lines starting with two spaces are columns, shown
as written. [[target]] and [[target|text]] are links; a target is a
topic id or a keyword. The full format is in docs/help-file.md.

Checks: the file decodes as Windows-1252 (and is not UTF-8), every line
ends in CR LF, no control characters, every "==" header is well formed,
topic ids are unique, keywords lines are well placed and well formed,
no keyword belongs to two topics, no topic is empty, column lines
are under 80 characters, every link is closed on its line and leads to
a topic (no broken link), every keyword the program asks for (--keyword,
"keys" when none is given) is defined (none left unreferenced), no text comes before the first topic, the first
topic is "contents", a topic "keys" has the keyword "keys", and a topic
"helponhelp" exists.

Prints one message per fault and exits 1 if there is any, else prints a
summary and exits 0. Standard library only.
"""

import re
import sys

MAX_PRE_LENGTH = 79           # preformatted lines must be under 80 characters
ID_PATTERN = re.compile(r'[a-z0-9][a-z0-9-]*\Z')
HEADER_PATTERN = re.compile(r'== (\S+) \| (.*)\Z')
KEYWORDS_PREFIX = 'keywords:'
LOOKS_LIKE_KEYWORDS = re.compile(r'\s*keywords?\s*:', re.IGNORECASE)
# The keywords ZORKEL.EXE asks the help for (Help > Keyboard).
PROGRAM_KEYWORDS = ['keys']
MAX_REPORTED_PER_KIND = 10


class Report:
    def __init__(self, path):
        self.path = path
        self.faults = 0
        self.per_kind = {}

    def fault(self, line_no, message, kind=None):
        """Records a fault; at most MAX_REPORTED_PER_KIND are printed per kind."""
        self.faults += 1
        if kind is not None:
            count = self.per_kind.get(kind, 0) + 1
            self.per_kind[kind] = count
            if count > MAX_REPORTED_PER_KIND:
                return
        where = f'{self.path}:{line_no}' if line_no else self.path
        print(f'{where}: {message}')

    def finish_kinds(self):
        for kind, count in self.per_kind.items():
            if count > MAX_REPORTED_PER_KIND:
                print(f'{self.path}: ... {count - MAX_REPORTED_PER_KIND} more '
                      f'fault(s) of the kind "{kind}"')


def line_of_offset(data, offset):
    return data.count(b'\n', 0, offset) + 1


def check_bytes(data, report):
    """Encoding and line-end checks on the raw bytes. Returns the decoded text."""
    if not data:
        report.fault(0, 'the file is empty')
        return ''
    if data.startswith(b'\xef\xbb\xbf'):
        report.fault(1, 'the file starts with a UTF-8 byte order mark; '
                        'it must be Windows-1252')
    if any(b >= 0x80 for b in data):
        try:
            data.decode('utf-8')
        except UnicodeDecodeError:
            pass
        else:
            report.fault(0, 'the file holds non-ASCII text encoded as UTF-8; '
                            'it must be Windows-1252 (e.g. the degree sign is '
                            'the single byte 0xB0)')

    for i, b in enumerate(data):
        if b == 0x0A and (i == 0 or data[i - 1] != 0x0D):
            report.fault(line_of_offset(data, i),
                         'line ends in LF without CR', 'line end')
        elif b == 0x0D and (i + 1 == len(data) or data[i + 1] != 0x0A):
            report.fault(line_of_offset(data, i),
                         'CR not followed by LF', 'line end')
    if not data.endswith(b'\r\n'):
        report.fault(line_of_offset(data, len(data) - 1),
                     'the last line does not end in CR LF')

    try:
        return data.decode('cp1252')
    except UnicodeDecodeError as error:
        report.fault(line_of_offset(data, error.start),
                     f'byte 0x{data[error.start]:02X} is not a Windows-1252 '
                     'character')
        return data.decode('cp1252', errors='replace')


def split_lines(text):
    """Lines without their ends; a final line end does not start a new line."""
    lines = text.split('\n')
    if lines and lines[-1] == '':
        lines.pop()
    return [line[:-1] if line.endswith('\r') else line for line in lines]


class Topic:
    def __init__(self, topic_id, title, line_no):
        self.id = topic_id
        self.title = title
        self.line_no = line_no
        self.keywords = []
        self.body_lines = 0
        self.links = []               # (target, line number)


def check_header(line, line_no, report):
    """Returns (id, title) of a well-formed header, or None after reporting."""
    match = HEADER_PATTERN.match(line)
    if not match:
        if '|' not in line:
            report.fault(line_no, 'topic header has no "|" between id and '
                                  'title (expected "== <id> | <title>")')
        else:
            report.fault(line_no, 'malformed topic header (expected '
                                  '"== <id> | <title>", single blanks): '
                                  + repr(line))
        return None
    topic_id, title = match.group(1), match.group(2).strip()
    ok = True
    if not ID_PATTERN.match(topic_id):
        report.fault(line_no, f'topic id "{topic_id}" must be lowercase '
                              'letters, digits and hyphens')
        ok = False
    if not title:
        report.fault(line_no, f'topic "{topic_id}" has an empty title')
        ok = False
    elif '|' in title:
        report.fault(line_no, f'topic "{topic_id}": title contains "|"')
        ok = False
    return (topic_id, title) if ok else None


def check_keywords(line, line_no, topic, report):
    rest = line[len(KEYWORDS_PREFIX):]
    words = [w.strip() for w in rest.split(';')]
    if not any(words):
        report.fault(line_no, f'topic "{topic.id}": keywords line lists no '
                              'keywords')
        return
    if any(not w for w in words):
        report.fault(line_no, f'topic "{topic.id}": empty keyword between '
                              'semicolons')
    for word in words:
        if word:
            topic.keywords.append((' '.join(word.lower().split()), line_no))


def check_text(text, report):
    topics = []
    lines = split_lines(text)
    current = None
    header_just_seen = False
    in_bullet = False
    text_before_first_topic = False

    for line_no, line in enumerate(lines, 1):
        bad = sorted({c for c in line if ord(c) < 0x20 or ord(c) == 0x7F})
        if bad:
            names = ', '.join(f'0x{ord(c):02X}' for c in bad)
            report.fault(line_no, f'control character(s) {names} in the line '
                                  '(tabs are not allowed either)', 'control')

        if line.startswith(';'):
            header_just_seen = False          # keywords must follow directly
            continue                          # comment; does not count
        if line.startswith('=='):
            parsed = check_header(line, line_no, report)
            current = Topic(*(parsed or ('?', '?')), line_no)
            if parsed:
                topics.append(current)
            header_just_seen = True
            in_bullet = False
            continue

        if current is None:
            if line.strip() and not text_before_first_topic:
                report.fault(line_no, 'text before the first topic header '
                                      '(only comments and blank lines may '
                                      'come first)')
                text_before_first_topic = True
            continue

        if LOOKS_LIKE_KEYWORDS.match(line):
            if not line.startswith(KEYWORDS_PREFIX):
                report.fault(line_no, f'topic "{current.id}": keywords line '
                                      f'must start with exactly '
                                      f'"{KEYWORDS_PREFIX}"')
            elif not header_just_seen:
                report.fault(line_no, f'topic "{current.id}": keywords line '
                                      'must come right after the topic header '
                                      '(here it would be shown as text)')
            else:
                check_keywords(line, line_no, current, report)
            header_just_seen = False
            continue
        header_just_seen = False

        if not line.strip():
            in_bullet = False
            continue
        current.body_lines += 1
        find_links(line, line_no, current, report)
        if line.startswith('- '):
            in_bullet = True
        elif line.startswith(' ') and in_bullet:
            pass                              # carries the bullet on
        elif line.startswith('  '):
            if len(line) > MAX_PRE_LENGTH:
                report.fault(line_no, f'column line is {len(line)} '
                                      f'characters long (must be under '
                                      f'{MAX_PRE_LENGTH + 1})', 'long line')
        else:
            in_bullet = False
    return topics


def find_links(line, line_no, topic, report):
    """Records the line's links as the program reads them: of several "[["
    before one "]]" only the last opens a link."""
    pos = 0
    while True:
        start = line.find('[[', pos)
        if start < 0:
            return
        close = line.find(']]', start + 2)
        if close < 0:
            report.fault(line_no, f'topic "{topic.id}": link "[[" is not closed '
                                  'by "]]" on its line', 'link')
            return
        opener = line.rfind('[[', start, close)
        inner = line[opener + 2:close]
        target = ' '.join(inner.split('|', 1)[0].split())
        if not target:
            report.fault(line_no, f'topic "{topic.id}": link without a target: '
                                  f'[[{inner}]]', 'link')
        else:
            topic.links.append((target.lower(), line_no))
        pos = close + 2


def check_topics(topics, report, program_keywords):
    if not topics:
        report.fault(0, 'the file has no (well-formed) topics')
        return
    if topics[0].id != 'contents':
        report.fault(topics[0].line_no, 'the first topic must be "contents", '
                                        f'not "{topics[0].id}"')

    by_id = {}
    for topic in topics:
        if topic.id in by_id:
            report.fault(topic.line_no, f'topic id "{topic.id}" is used twice '
                                        f'(first at line '
                                        f'{by_id[topic.id].line_no})')
        else:
            by_id[topic.id] = topic
        if topic.body_lines == 0:
            report.fault(topic.line_no, f'topic "{topic.id}" has no text')

    for required in ('contents', 'keys', 'helponhelp'):
        if required not in by_id:
            report.fault(0, f'required topic "{required}" is missing')
    keys = by_id.get('keys')
    if keys is not None and 'keys' not in [k for k, _ in keys.keywords]:
        report.fault(keys.line_no, 'topic "keys" must have the keyword "keys"')

    owner = {}
    for topic in topics:
        for word, line_no in topic.keywords:
            if word in owner:
                first_topic, first_line = owner[word]
                where = ('again in the same topic' if first_topic is topic
                         else f'also in topic "{first_topic.id}"')
                report.fault(line_no, f'keyword "{word}" is {where} '
                                      f'(line {first_line}); a keyword must '
                                      'lead to one topic')
            else:
                owner[word] = (topic, line_no)

    for topic in topics:
        for target, line_no in topic.links:
            if target not in by_id and target not in owner:
                report.fault(line_no, f'topic "{topic.id}": broken link to '
                                      f'"{target}": no topic has that id or '
                                      'keyword', 'link')
    for word in program_keywords:
        if ' '.join(word.lower().split()) not in owner:
            report.fault(0, f'the program asks for the keyword "{word}", but '
                            'no topic has it')


def main(argv):
    args = argv[1:]
    program_keywords = []
    while len(args) >= 2 and args[0] == '--keyword':
        program_keywords.append(args[1])
        args = args[2:]
    if len(args) != 1:
        print('usage: check_help_file.py [--keyword WORD]... PATH-OF-HELP-FILE')
        return 1
    path = args[0]
    report = Report(path)
    try:
        with open(path, 'rb') as f:
            data = f.read()
    except OSError as error:
        print(f'{path}: cannot read the file: {error.strerror}')
        return 1

    text = check_bytes(data, report)
    topics = check_text(text, report)
    check_topics(topics, report, program_keywords or PROGRAM_KEYWORDS)
    report.finish_kinds()

    if report.faults:
        print(f'{path}: FAILED, {report.faults} fault(s)')
        return 1
    lines = len(split_lines(text))
    print(f'{path}: OK, {len(topics)} topics, {lines} lines: '
          + ', '.join(t.id for t in topics))
    return 0


if __name__ == '__main__':
    sys.exit(main(sys.argv))
