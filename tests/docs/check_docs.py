#!/usr/bin/env python3
"""Runs the examples that README.md and docs/*.md show and holds what they show against what the
program does, so that the documentation cannot drift away from the program.

Usage: check_docs.py PROGRAM      (the Tarnwick program under test)

An example is written in the documents in this form; the HTML comments do not show where the
Markdown is read:

    <!-- file: NAME -->
    A block (indented by four blanks, or fenced; in a list item, by the item's text as well) right
    after it: its text becomes the file NAME in the working folder of every example after it in
    the same document (a command file that the text shows, for instance).

    <!-- example: CLAUSE; CLAUSE; ... -->
    A block of shell commands right after it, unless a `run` clause gives the command; then, when
    a clause says what the example shows, the next block (prose may stand between). Clauses:
      in DIR          the working folder is a fresh copy of DIR, a folder of the source tree,
                      without outputs that runs left there (default: examples)
      first COMMAND   runs before the commands shown (to make what they need)
      run COMMAND     the command, when the text does not show it as a block
      status N        the exit status of the last command (default 0)
      console         the block shows the console (standard error),
      output          or standard output,
      report FILE     or the file FILE that the commands wrote
      excerpt         it shows some of the lines, in their order; without this it shows all the
                      lines, apart from blank lines before and after and lines "..." that stand
                      for lines left out
      writes FILE...  files that the commands create
      same FILE PATH  the file FILE that the commands wrote is byte for byte PATH of the source
                      tree (a picture the documents show, made by Debian 12's tools; another
                      version may draw other bytes); skipped where the command that makes it is
                      not installed, a failure on CI

    <!-- not run: REASON -->
    Marks a block that starts the program and is no example (CI runs the set-up commands).

The commands run in bash in the working folder, where `Tarnwick` and `../build/Tarnwick` are the
program under test and VexlorFont is not set. Lines compare without their trailing blanks. A
block that starts the program (a command `Tarnwick` or `.../Tarnwick`) must be an example or be
marked as not run, so that no new one goes unchecked. The program's --help must keep within 80
columns. Prints one line per example, then "N passed, N failed"; exits with 1 when any failed.
"""
import os
import re
import shutil
import subprocess
import sys
import tempfile

TOP = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
DOCUMENTS = ['README.md'] + sorted(os.path.join('docs', name) for name in os.listdir(os.path.join(TOP, 'docs'))
                                   if name.endswith('.md'))
MARKER = re.compile(r'^ {0,3}<!--\s*(file|example|not run):\s*(.*?)\s*-->\s*$')
FENCE = re.compile(r'^( {0,3})```')
STARTS_PROGRAM = re.compile(r'(^|[\s(;&|])(\S*/)?Tarnwick(\s|\)|$)')


class Block:
    def __init__(self, start, lines):
        self.start = start  # line number (from 1) of its first line
        self.lines = lines

    def text(self):
        return ''.join(line + '\n' for line in self.lines)


def read_document(path):
    """The document as items in order: ('marker', kind, text, line) and ('block', Block)."""
    with open(os.path.join(TOP, path), encoding='utf-8') as file:
        lines = file.read().split('\n')
    items = []
    i = 0
    previous_blank = True
    while i < len(lines):
        line = lines[i]
        marker = MARKER.match(line)
        if marker:
            items.append(('marker', marker.group(1), marker.group(2), i + 1))
        elif FENCE.match(line):
            # A fence inside a list item is indented as the item's text, and so are its lines.
            indent = len(FENCE.match(line).group(1))
            start = i + 1
            body = []
            i += 1
            while i < len(lines) and not FENCE.match(lines[i]):
                body.append(re.sub(f'^ {{0,{indent}}}', '', lines[i]))
                i += 1
            items.append(('block', Block(start + 1, body)))
        elif line.startswith('    ') and previous_blank:
            start = i
            body = []
            while i < len(lines) and (lines[i].startswith('    ') or
                                      (lines[i] == '' and i + 1 < len(lines) and lines[i + 1].startswith('    '))):
                body.append(lines[i])
                i += 1
            # Inside a list item the block is indented by the item's text as well: its least indented
            # line begins the text.
            indent = min(len(line) - len(line.lstrip(' ')) for line in body if line)
            items.append(('block', Block(start + 1, [line[indent:] for line in body])))
            previous_blank = False
            continue
        previous_blank = line.strip() == '' or marker is not None
        i += 1
    return items


def starts_program(block):
    return any(STARTS_PROGRAM.search(line) and not line.lstrip().startswith('#') for line in block.lines)


def parse_clauses(text):
    clauses = {'in': 'examples', 'status': '0', 'writes': [], 'same': None}
    for clause in filter(None, (part.strip() for part in text.split(';'))):
        word, _, rest = clause.partition(' ')
        if word in ('console', 'output', 'excerpt'):
            clauses[word] = True
        elif word == 'report':
            clauses['report'] = rest
        elif word == 'writes':
            clauses['writes'] = rest.split()
        elif word == 'same':
            clauses['same'] = rest.split()
        elif word in ('in', 'first', 'run', 'status'):
            clauses[word] = rest
        else:
            raise ValueError(f'unknown clause "{clause}"')
    return clauses


def trimmed(lines):
    lines = [line.rstrip() for line in lines]
    while lines and lines[0] == '':
        lines.pop(0)
    while lines and lines[-1] == '':
        lines.pop()
    return lines


def compare(shown, actual, excerpt):
    """None when the shown lines are the actual ones (as an excerpt: some of them, in order);
    else what differs."""
    shown, actual = trimmed(shown), trimmed(actual)
    position = 0
    gap = excerpt
    for number, line in enumerate(shown, 1):
        if line.strip() == '...':
            gap = True
            continue
        if gap:
            while position < len(actual) and actual[position] != line:
                position += 1
        if position >= len(actual) or actual[position] != line:
            found = actual[position] if position < len(actual) else '(the end)'
            return f'shown line {number} "{line}" is not what the program gives there: "{found}"'
        position += 1
        gap = excerpt
    if not excerpt and position != len(actual):
        return f'the program gives more after the last line shown: "{actual[position]}"'
    return None


def run_example(program, document, example, files, scratch):
    clauses = example['clauses']
    top = os.path.join(scratch, 'tree')
    shutil.rmtree(top, ignore_errors=True)
    os.makedirs(os.path.join(top, 'build'))
    os.symlink(program, os.path.join(top, 'build', 'Tarnwick'))
    folder = os.path.join(top, clauses['in'])
    # Without the outputs that runs there left (the README's first command runs the example).
    shutil.copytree(os.path.join(TOP, clauses['in']), folder,
                    ignore=shutil.ignore_patterns('*.place', '*.gbr', '*.html', '*.png'))
    for name, text in files.items():
        with open(os.path.join(folder, name), 'w', encoding='utf-8') as file:
            file.write(text)
    commands = clauses.get('run') or example['block'].text()
    same = clauses['same']
    if same and shutil.which(commands.split()[0]) is None:
        # CI has every tool the documents use.
        return 'failed' if os.environ.get('CI') else 'skipped', f'{commands.split()[0]} is not installed'
    environment = dict(os.environ, PATH=os.path.join(top, 'build') + os.pathsep + os.environ.get('PATH', ''))
    environment.pop('VexlorFont', None)
    if 'first' in clauses:
        subprocess.run(['bash', '-c', clauses['first']], cwd=folder, env=environment, capture_output=True, check=True)
    result = subprocess.run(['bash', '-c', commands], cwd=folder, env=environment, capture_output=True)
    if result.returncode != int(clauses['status']):
        return 'failed', (f'exit status {result.returncode}, the document says {clauses["status"]}\n' +
                          result.stderr.decode(errors='replace')[-2000:])
    for name in clauses['writes']:
        if not os.path.exists(os.path.join(folder, name)):
            return 'failed', f'{name} was not written'
    if same:
        made, kept = same
        with open(os.path.join(folder, made), 'rb') as a, open(os.path.join(TOP, kept), 'rb') as b:
            if a.read() != b.read():
                return 'failed', f'{made} is not {kept} (make it again with the command shown)'
    shown = example.get('shown')
    if shown is not None:
        if 'console' in clauses:
            actual = result.stderr
        elif 'output' in clauses:
            actual = result.stdout
        else:
            with open(os.path.join(folder, clauses['report']), 'rb') as file:
                actual = file.read()
        difference = compare(shown.lines, actual.decode('utf-8', errors='replace').split('\n'),
                             'excerpt' in clauses)
        if difference:
            return 'failed', f'{difference} (block at line {shown.start})'
    return 'ok', ''


def examples_of(document):
    """The document's examples and the problems of its form."""
    items = read_document(document)
    examples, problems = [], []
    files = {}
    marked = set()
    i = 0
    while i < len(items):
        item = items[i]
        if item[0] == 'marker':
            kind, text, line = item[1], item[2], item[3]
            following = items[i + 1] if i + 1 < len(items) and items[i + 1][0] == 'block' else None
            if kind == 'not run':
                if following:
                    marked.add(id(following[1]))
            elif kind == 'file':
                if not following:
                    problems.append(f'{document}:{line}: a file marker without a block after it')
                else:
                    files[text] = following[1].text()
                    marked.add(id(following[1]))
            else:
                try:
                    clauses = parse_clauses(text)
                except ValueError as error:
                    problems.append(f'{document}:{line}: {error}')
                    i += 1
                    continue
                example = {'line': line, 'clauses': clauses, 'files': dict(files), 'block': None}
                j = i + 1
                if 'run' not in clauses:
                    if not following:
                        problems.append(f'{document}:{line}: an example without commands after it')
                        i += 1
                        continue
                    example['block'] = following[1]
                    marked.add(id(following[1]))
                    j += 1
                if any(key in clauses for key in ('console', 'output', 'report')):
                    while j < len(items) and items[j][0] != 'block':
                        j += 1
                    if j == len(items):
                        problems.append(f'{document}:{line}: an example without the block it shows')
                        i += 1
                        continue
                    example['shown'] = items[j][1]
                    marked.add(id(items[j][1]))
                examples.append(example)
        i += 1
    for item in items:
        if item[0] == 'block' and id(item[1]) not in marked and starts_program(item[1]):
            problems.append(f'{document}:{item[1].start}: a block that starts the program is no example '
                            '(or mark it <!-- not run: REASON -->)')
    return examples, problems


def check_help_width(program):
    text = subprocess.run([program, '--help'], capture_output=True, check=True).stdout.decode()
    wide = [line for line in text.split('\n') if len(line) > 80]
    return None if not wide else f'{len(wide)} lines wider than 80 columns, the first: "{wide[0]}"'


def main():
    program = os.path.abspath(sys.argv[1])
    passed = failed = 0
    with tempfile.TemporaryDirectory() as scratch:
        for document in DOCUMENTS:
            examples, problems = examples_of(document)
            for problem in problems:
                print('FAILED ' + problem)
                failed += 1
            for example in examples:
                outcome, detail = run_example(program, document, example, example['files'], scratch)
                name = f'{document}:{example["line"]}'
                if outcome == 'skipped':
                    print(f'skip   {name}: {detail}')
                    continue
                print(('ok     ' if outcome == 'ok' else 'FAILED ') + name + (f': {detail}' if detail else ''))
                passed += outcome == 'ok'
                failed += outcome != 'ok'
    width = check_help_width(program)
    print(('FAILED --help: ' + width) if width else 'ok     --help within 80 columns')
    passed += width is None
    failed += width is not None
    print(f'{passed} passed, {failed} failed')
    sys.exit(1 if failed or passed == 0 else 0)


if __name__ == '__main__':
    main()
