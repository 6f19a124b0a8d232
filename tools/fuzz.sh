#!/usr/bin/env bash
echo "fuzz: not written yet" >&2
exit 1
