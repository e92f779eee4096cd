#!/usr/bin/env python3
"""Tessary as installed.

Installs the build into a staging folder (DESTDIR) and works only with what
landed there: the installed tessary-service, set up through the variables of
its settings file, seeds a data folder and serves on a free loopback port; the
installed tessary-cli logs in, syncs, adds a photo and syncs it up; the
service stops on SIGTERM. The manual page and the bash completion of
tessary-cli must know every command its --help lists, the systemd unit must
pass systemd-analyze verify with its ExecStart in the staged tree, and the
desktop files must pass their validators.
"""

import argparse
import os
import re
import shutil
import signal
import subprocess
import sys
import tempfile
import urllib.request
from pathlib import Path

failures = []


def check(condition, what):
    if not condition:
        failures.append(what)
        print("FAILED: " + what, flush=True)
    return condition


def run(args, env=None, **kwargs):
    result = subprocess.run(args, env=env, capture_output=True, text=True, timeout=120, **kwargs)
    if result.returncode != 0:
        print(f"$ {' '.join(map(str, args))}\n{result.stdout}{result.stderr}", flush=True)
    return result


def cache_value(build, name):
    for line in (build / "CMakeCache.txt").read_text().splitlines():
        if line.startswith(name + ":"):
            return line.split("=", 1)[1]
    raise RuntimeError(name + " not in the CMake cache")


def help_commands(program):
    """The subcommands tessary-cli --help lists."""
    text = run([program, "--help"]).stdout
    section = text.split("Subcommands:", 1)[1].split("\n\n", 1)[0]
    return [line.split()[0] for line in section.splitlines() if line.strip()]


def check_manual_and_completion(stage, prefix, cli):
    commands = help_commands(cli)
    check(len(commands) > 10, "tessary-cli --help lists its commands")
    page = stage / prefix.lstrip("/") / "share/man/man1/tessary-cli.1.gz"
    rendered = run(["man", "-l", str(page)], env=dict(os.environ, MANWIDTH="200")).stdout
    for section in ("SYNOPSIS", "COMMANDS", "EXIT STATUS", "ENVIRONMENT", "TESSARY_SERVICE", "TESSARY_PASSWORD"):
        check(section in rendered, f"man tessary-cli shows {section}")
    missing = [c for c in commands if not re.search(rf"^\s+tessary-cli {re.escape(c)}\b", rendered, re.M)]
    check(not missing, f"man tessary-cli describes every command (missing: {missing})")

    completion = stage / prefix.lstrip("/") / "share/bash-completion/completions/tessary-cli"
    offered = run(["bash", "-c", f"source '{completion}'; COMP_WORDS=(tessary-cli ''); COMP_CWORD=1; "
                                 "_tessary_cli; echo \"${COMPREPLY[*]}\""]).stdout.split()
    check(offered == commands, f"bash completion offers the commands of --help: {offered}")
    for other in ("share/zsh/vendor-completions/_tessary-cli", "share/fish/vendor_completions.d/tessary-cli.fish",
                  "share/man/man1/tessary-service.1.gz", "share/doc/tessary-cli/copyright",
                  "share/doc/tessary-service/changelog.gz"):
        check((stage / prefix.lstrip("/") / other).is_file(), f"{other} is installed")


def check_unit(stage, prefix):
    unit = Path(prefix) / "lib/systemd/system/tessary-service.service"
    text = (stage / unit.relative_to("/")).read_text()
    check(f"ExecStart={prefix}/bin/tessary-service serve" in text, "the unit starts the installed program")
    settings = re.search(r"^EnvironmentFile=-(/\S+)$", text, re.M)
    check(settings is not None and (stage / settings.group(1).lstrip("/")).is_file(),
          "the settings file the unit reads is installed")
    analyze = shutil.which("systemd-analyze")
    if not check(analyze is not None, "systemd-analyze is installed"):
        return
    # The staged tree as the root, with the host's targets the unit refers to.
    with tempfile.TemporaryDirectory(prefix="tessary-unit-root-") as root:
        shutil.copytree(stage, root, dirs_exist_ok=True, symlinks=True)
        targets = Path(root) / "etc/systemd/system"
        targets.mkdir(parents=True, exist_ok=True)
        for target in Path("/lib/systemd/system").glob("*.target"):
            shutil.copy(target, targets)
        result = run([analyze, "verify", "--man=no", f"--root={root}", str(unit)])
        output = (result.stdout + result.stderr).strip()
        check(result.returncode == 0 and not output, f"systemd-analyze verify passes: {output}")


def check_desktop_files(stage, prefix):
    share = stage / prefix.lstrip("/") / "share"
    entry = share / "applications/com.morvane.Tessary.desktop"
    if not entry.exists():
        print("tessary is not built: no desktop files to check", flush=True)
        return
    for tool, args in (("desktop-file-validate", [str(entry)]),
                       ("appstreamcli", ["validate", "--no-net", "--pedantic",
                                         str(share / "metainfo/com.morvane.Tessary.metainfo.xml")])):
        if check(shutil.which(tool) is not None, f"{tool} is installed"):
            check(run([tool, *args]).returncode == 0, f"{tool} accepts the installed file")
    check((share / "icons/hicolor/256x256/apps/com.morvane.Tessary.png").is_file(), "the icon is installed")
    check((share / "man/man1/tessary.1.gz").is_file(), "tessary's manual page is installed")


def check_programs(bindir, work):
    service, cli = str(bindir / "tessary-service"), str(bindir / "tessary-cli")
    check(run([service, "--version"]).stdout.startswith("tessary-service "), "tessary-service --version")
    env = dict(os.environ, TESSARY_SERVICE_DATA=str(work / "data"), TESSARY_SERVICE_LISTEN="127.0.0.1:0")
    if not check(run([service, "seed-demo"], env=env).returncode == 0, "seed-demo in TESSARY_SERVICE_DATA"):
        return
    process = subprocess.Popen([service, "serve"], env=env, stdout=subprocess.PIPE, text=True)
    try:
        found = re.search(r"\(port (\d+)\)", process.stdout.readline())
        if not check(found is not None, "tessary-service serve starts"):
            return
        port = found.group(1)
        with urllib.request.urlopen(f"http://127.0.0.1:{port}/.healthz", timeout=30) as answer:
            check(answer.status == 200, "/.healthz answers 200")

        client = dict(os.environ, TESSARY_SERVICE=f"127.0.0.1:{port}", TESSARY_DEVICE_ROOT=str(work / "device"),
                      TESSARY_PASSWORD="demo")
        check(run([cli, "login", "demo@example.com"], env=client).returncode == 0, "tessary-cli login")
        check(run([cli, "--yes", "sync", "--view-password", "peek"], env=client).returncode == 0,
              "tessary-cli sync of the account")
        photos = sorted((work / "device").rglob("*.jpg"))
        if not check(photos, "the sync downloaded photos"):
            return
        shutil.copy(photos[0], work / "new.jpg")
        check(run([cli, "add", "demo-travel", str(work / "new.jpg"), "--title", "Staged"], env=client).returncode == 0,
              "tessary-cli add")
        check(run([cli, "sync", "demo-travel"], env=client).returncode == 0, "tessary-cli sync of the blog")
        listed = run([cli, "entries", "demo-travel", "--show", "pending"], env=client).stdout
        check("Staged" not in listed, "the new entry is no longer pending")
        listed = run([cli, "entries", "demo-travel"], env=client).stdout
        check("Staged" in listed, "the new entry is in the blog")
    finally:
        process.send_signal(signal.SIGTERM)
        try:
            rest, _ = process.communicate(timeout=60)
        except subprocess.TimeoutExpired:
            process.kill()
            rest, _ = process.communicate()
    check(process.returncode == 0, f"tessary-service ended with status {process.returncode} on SIGTERM")
    check(re.search(r'^127\.0\.0\.1 - - \[[^]]+\] "POST /ws/ HTTP/1\.[01]" 200 \d+ ', rest, re.M) is not None,
          "the access log has the protocol's requests:\n" + rest[-2000:])
    check(rest.rstrip().endswith("tessary-service stopped"), "tessary-service says it stopped")


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--build", required=True, type=Path)
    args = parser.parse_args()
    prefix = cache_value(args.build, "CMAKE_INSTALL_PREFIX")
    with tempfile.TemporaryDirectory(prefix="tessary-installed-") as temp:
        work = Path(temp)
        stage = work / "stage"
        result = run(["cmake", "--install", str(args.build)], env=dict(os.environ, DESTDIR=str(stage)))
        if check(result.returncode == 0, "cmake --install into the staging folder"):
            bindir = stage / prefix.lstrip("/") / "bin"
            check_manual_and_completion(stage, prefix, str(bindir / "tessary-cli"))
            check_unit(stage, prefix)
            check_desktop_files(stage, prefix)
            check_programs(bindir, work)
    print("FAILED: " + "; ".join(failures) if failures else "installed layout: all checks passed", flush=True)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
