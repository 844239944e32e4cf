#!/usr/bin/env python3
"""Prints the figures table of ./run bench from the pieces it measured."""
import json
import re
import subprocess
import sys
from collections import defaultdict
from statistics import median


def footprint(dll, objdump):
    text = subprocess.run([objdump, "-p", dll], capture_output=True, text=True).stdout
    imports, current = {}, None
    for line in text.splitlines():
        m = re.match(r"\s*DLL Name: (\S+)", line)
        if m:
            current = m.group(1)
            imports[current] = {"names": 0, "ordinals": []}
            continue
        if current:
            m = re.match(r"\s*[0-9a-f]+\s+(\d+)\s+<none>", line)
            if m:
                imports[current]["ordinals"].append(int(m.group(1)))
            elif re.match(r"\s*[0-9a-f]+\s+\d+\s+[A-Za-z_?@]\S*$", line):
                imports[current]["names"] += 1
            elif not line.strip():
                current = None
        if line.startswith("The Export Tables") or line.startswith("There is an export table"):
            current = None
    m = re.search(r"\[Ordinal/Name Pointer\] Table\n((?:\s+\[\s*\d+\] \S+\n)+)", text)
    exports = len(m.group(1).strip().splitlines()) if m else 0
    return imports, exports


def print_footprint(title, dll, objdump):
    imports, exports = footprint(dll, objdump)
    size = len(open(dll, "rb").read())
    print(title)
    print(f"CVINSTALLER.dll            {size:>8} bytes   (target <= 200 KB = 204800: "
          f"{'met' if size <= 204800 else 'MISSED'})")
    print(f"exports                    {exports:>8}")
    for dll_name, imp in imports.items():
        kind = (f"by ordinal {sorted(imp['ordinals'])}" if imp["ordinals"] else "") + \
               (f"{' + ' if imp['ordinals'] and imp['names'] else ''}{imp['names']} by name" if imp["names"] else "")
        print(f"  imports {dll_name:<18} {kind}")


def find_string_rows(path):
    data = json.load(open(path))
    by = defaultdict(dict)
    for b in data["benchmarks"]:
        if b.get("run_type") == "aggregate" or "error_occurred" in b:
            continue
        fn, size, nlen, match = b["name"].split("/")[:4]
        # CPU time: the machine may be busy with other work while this runs.
        ns_per_byte = b["cpu_time"] / int(size)  # in ns
        by[(int(size), int(nlen), match == "1")][fn] = ns_per_byte
    rows = []
    for (size, nlen, match), v in sorted(by.items()):
        ours, ref, naive = v.get("BM_FindStringNoCase"), v.get("BM_strcasestr"), v.get("BM_naive")
        rows.append((size, nlen, match, ours, ref, naive, ours / ref if ours and ref else None))
    return rows


def main():
    dll, objdump, bench_json, export_tsv, suite = sys.argv[1:6]
    print_footprint("== Footprint ==", dll, objdump)
    # Optional: the x86-64 flavour's DLL and objdump.
    if len(sys.argv) >= 8:
        print()
        print_footprint("== Footprint, x86-64 flavour ==", sys.argv[6], sys.argv[7])

    print("\n== FindStringNoCase, native, ns per haystack byte (ratio to strcasestr; target <= 1.0 at 1 MiB) ==")
    print(f"{'haystack':>9} {'needle':>6} {'match':>6} {'ours':>8} {'strcasestr':>10} {'naive':>8} {'ratio':>6}")
    for size, nlen, match, ours, ref, naive, ratio in find_string_rows(bench_json):
        label = f"{size // 1024} KiB" if size < 1 << 20 else "1 MiB"
        print(f"{label:>9} {nlen:>6} {'end' if match else 'none':>6} {ours:8.3f} {ref:10.3f} {naive:8.3f} "
              f"{ratio:6.2f}{'' if size < 1 << 20 else ('  met' if ratio <= 1.0 else '  MISSED')}")

    print("\n== Exports under Wine (medians) ==")
    for line in open(export_tsv):
        f = line.split()
        if f[0] == "kill10":
            print(f"KillProcessByFileName, 10 processes  {float(f[1]):8.1f} ms   taskkill /F /IM {float(f[2]):8.1f} ms"
                  f"   ratio {float(f[3]):.2f} (target <= 1.0: {'met' if float(f[3]) <= 1.0 else 'MISSED'})")
        elif f[0] == "regexists":
            print(f"RegistryKeyExists per call           {float(f[1]):8.2f} us   bare RegOpenKeyExA+RegCloseKey "
                  f"{float(f[2]):8.2f} us   ratio {float(f[3]):.2f} (target <= 1.1: "
                  f"{'met' if float(f[3]) <= 1.1 else 'MISSED'})")
        elif f[0] == "profileexists":
            print(f"ProfileExists per call (stand-in)    {float(f[1]):8.2f} us   with the host holding MAPI32 "
                  f"{float(f[2]):8.2f} us")
    loads = [line.rstrip("\n").split("\t") for line in open(export_tsv) if line.startswith("perload")]
    if loads:
        print(f"\n== Loading for every call ({loads[0][2]} rounds each, one run) ==")
        for _, label, _, us, handles, heap in loads:
            print(f"{label:<40} {float(us):8.1f} us per round   handles {int(handles):+d}   heap {int(heap):+d} bytes")

    print("\n== Suite ==")
    print(f"./run test on a warm build           {suite}")


main()
