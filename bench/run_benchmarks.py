#!/usr/bin/env python3
"""Times whole runs of Tarnwick on synthetic projects and checks the scaling targets.

Usage: run_benchmarks.py [--exe build/Tarnwick] [--baseline OTHER_BUILD]
                         [--sizes 1000,10000,100000,1000000] [--runs 7] [--work /tmp/tarnwick-bench]

For every size it generates a project (bench/generate_project.py, cached in the work
directory), measures `wc -l` on it as the baseline, and runs Tarnwick with report
formats 0, 2 and 4, with both verification plots, in format 0 with the placement
check (--check), and in format 0 with the bill of materials and the placement list
(--bom --cpl). Every run is held to one core
(`taskset -c 0`, where the machine has it). The runs go in rounds, every round taking
every figure once, so that a drift of the host's speed falls on all of them, and the
modes take turns at running first within a size. Each figure is the median wall time of
the rounds; memory is the peak resident set of the run, read from the kernel's
accounting of the finished child. With --baseline, another build is measured in the same
rounds and its figures printed beside. Prints a Markdown table, then the targets:
  - the 1,000,000-part run takes at most 11 times the 100,000-part run, every mode;
  - the 100,000-part run in format 0 takes at most 20 times `wc -l` on the same file;
  - peak memory of the report runs (not the check) stays below 3 times the project file's
    size plus 20 MB;
  - at 20,000 parts (when measured), --check adds at most 0.3 s to the format 0 run;
  - at 20,000 parts (when measured), --bom --cpl take at most 10 % more than the format 0 run.
Exits with status 1 when a target is missed.
"""
import argparse
import os
import shutil
import statistics
import subprocess
import sys
import time

HERE = os.path.dirname(os.path.abspath(__file__))
TOP = os.path.dirname(HERE)

MODES = {
    'format 0': '-F 0\n',
    'format 2': '-F 2\n',
    'format 4': '-F 4\n-H 0\n-H 4\n-H 5\n-H 9\n-H 6\n-H 10\n-H 11\n-H 13\n',
    'plots': '-F 0\n-C 1\n-P font.xml\n',
    'check': '-F 0\n',
    'assembly': '-F 0\n',
}
# Switches a mode adds to the command line, and the exit statuses that mean success: the
# check ends with 2 when it finds something, which on the synthetic projects it does.
SWITCHES = {'check': ['--check'], 'assembly': ['--bom', '--cpl']}
STATUSES = {'check': (0, 2)}


ONE_CORE = ['taskset', '-c', '0'] if shutil.which('taskset') else []


def timed_run(command, cwd, statuses=(0,)):
    """Wall time in seconds and peak resident memory in bytes of one run, on one core."""
    command = ONE_CORE + command
    start = time.perf_counter()
    process = subprocess.Popen(command, cwd=cwd, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    _, status, usage = os.wait4(process.pid, 0)
    elapsed = time.perf_counter() - start
    if os.waitstatus_to_exitcode(status) not in statuses:
        sys.exit(f'{command} failed with status {status}')
    return elapsed, usage.ru_maxrss * 1024


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument('--exe', default=os.path.join(TOP, 'build', 'Tarnwick'))
    parser.add_argument('--baseline', help='another build, measured in the same rounds')
    parser.add_argument('--sizes', default='1000,10000,100000,1000000')
    parser.add_argument('--runs', type=int, default=7)
    parser.add_argument('--work', default='/tmp/tarnwick-bench')
    args = parser.parse_args()
    programs = {'': os.path.abspath(args.exe)}
    if args.baseline:
        programs['baseline '] = os.path.abspath(args.baseline)
    sizes = [int(s) for s in args.sizes.split(',')]
    os.makedirs(args.work, exist_ok=True)
    shutil.copy(os.path.join(TOP, 'examples', 'font.xml'), os.path.join(args.work, 'font.xml'))
    for mode, commands in MODES.items():
        with open(os.path.join(args.work, mode.replace(' ', '') + '.ini'), 'w') as ini:
            ini.write(commands)

    # The runs go in rounds, each round visiting every size and mode once with its own
    # `wc -l`: the shared host's speed drifts by tens of percent over a minute, and taking
    # every figure in every round lets the drift fall on all of them alike.
    projects = {}
    for size in sizes:
        project = os.path.join(args.work, f'p{size}.lpf')
        if not os.path.exists(project):
            subprocess.run([sys.executable, os.path.join(HERE, 'generate_project.py'), str(size), project], check=True)
        projects[size] = project
    # The first run of a size after the smaller ones pays for memory the host has to supply
    # afresh (about a millisecond per megabyte here); the runs after it reuse what it freed.
    # So the modes take turns at being first: round r starts with mode r.
    modes = [label + mode for label in programs for mode in MODES]
    samples = {size: {'wc': [], **{mode: [] for mode in modes}} for size in sizes}
    for round_number in range(args.runs):
        shift = round_number % len(modes)
        for size in sizes:
            project = projects[size]
            samples[size]['wc'].append(timed_run(['wc', '-l', project], args.work))
            for mode in modes[shift:] + modes[:shift]:
                label = 'baseline ' if mode.startswith('baseline ') else ''
                plain_mode = mode[len(label):]
                ini = '-I' + plain_mode.replace(' ', '') + '.ini'
                command = [programs[label], ini] + SWITCHES.get(plain_mode, []) + [
                    project, os.path.join(args.work, 'out.place')]
                samples[size][mode].append(timed_run(command, args.work, STATUSES.get(plain_mode, (0,))))
    rows = {}
    for size in sizes:
        rows[size] = {'file': os.path.getsize(projects[size])}
        rows[size]['wc'] = statistics.median(r[0] for r in samples[size]['wc'])
        for mode in modes:
            results = samples[size][mode]
            rows[size][mode] = (statistics.median(r[0] for r in results), max(r[1] for r in results))

    print('| parts | file MB | wc -l s | ' + ' | '.join(f'{m} s | {m} MB | {m} x wc' for m in modes) + ' |')
    print('|' + '---|' * (3 + 3 * len(modes)))
    for size, row in rows.items():
        cells = [f'{size:,}', f'{row["file"] / 1e6:.1f}', f'{row["wc"]:.4f}']
        for mode in modes:
            seconds, memory = row[mode]
            cells += [f'{seconds:.3f}', f'{memory / 1e6:.0f}', f'{seconds / row["wc"]:.1f}']
        print('| ' + ' | '.join(cells) + ' |')

    missed = []
    if 100000 in rows and 1000000 in rows:
        for mode in MODES:
            ratio = rows[1000000][mode][0] / rows[100000][mode][0]
            print(f'1,000,000 / 100,000 parts, {mode}: {ratio:.1f} (target at most 11)')
            if ratio > 11:
                missed.append(f'linear cost, {mode}')
    if 100000 in rows:
        ratio = rows[100000]['format 0'][0] / rows[100000]['wc']
        print(f'100,000 parts, format 0 / wc -l: {ratio:.1f} (target at most 20)')
        if ratio > 20:
            missed.append('speed against wc -l')
    for size, row in rows.items():
        added = row['check'][0] - row['format 0'][0]
        print(f'{size:,} parts: --check adds {added:.3f} s to format 0' +
              (' (target at most 0.3 s)' if size == 20000 else ''))
        if size == 20000 and added > 0.3:
            missed.append('time of the placement check')
    for size, row in rows.items():
        share = row['assembly'][0] / row['format 0'][0] - 1
        print(f'{size:,} parts: --bom --cpl add {100 * share:.1f} % to format 0' +
              (' (target at most 10 %)' if size == 20000 else ''))
        if size == 20000 and share > 0.10:
            missed.append('time of the assembly files')
    for size, row in rows.items():
        limit = 3 * row['file'] + 20e6
        peak = max(row[mode][1] for mode in MODES if mode != 'check')
        print(f'{size:,} parts: peak memory {peak / 1e6:.0f} MB, limit {limit / 1e6:.0f} MB; '
              f'with --check {row["check"][1] / 1e6:.0f} MB')
        if peak >= limit:
            missed.append(f'memory at {size:,} parts')
    if missed:
        print('targets missed: ' + ', '.join(missed))
        return 1
    print('all targets met')
    return 0


if __name__ == '__main__':
    sys.exit(main())
