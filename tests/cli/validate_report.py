#!/usr/bin/python3
"""Validates sweepmere reports against docs/report.schema.json (JSON Schema 2020-12).
Usage: validate_report.py SCHEMA REPORT..."""
import json
import sys

import jsonschema

schema = json.load(open(sys.argv[1], encoding="utf-8"))
validator = jsonschema.Draft202012Validator(schema, format_checker=jsonschema.FormatChecker())
for path in sys.argv[2:]:
    errors = [e.message for e in validator.iter_errors(json.load(open(path, encoding="utf-8")))]
    if errors:
        sys.exit(f"{path} does not match the schema: {'; '.join(errors)}")
